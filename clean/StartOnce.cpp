#include "clean/StartOnce.h"

namespace bs {
namespace {

bool WriteRunOnce(Registry& registry, RegRoot root, const std::string& batchPath) {
    auto key = registry.Open(root, RunOnceKey, RegAccess::ReadWrite, true);
    return key && key->SetString(RunOnceValueName, "\"" + batchPath + "\"");
}

} // namespace

StartOnceRoot RegisterStartOnce(Registry& registry, const std::string& batchPath,
                                bool machineWide) {
    if (machineWide && WriteRunOnce(registry, RegRoot::LocalMachine, batchPath))
        return StartOnceRoot::LocalMachine;
    // An earlier Delete may have registered the same batch machine-wide,
    // when the folder was still safe: it must not run so any more.
    if (!machineWide)
        if (auto key =
                registry.Open(RegRoot::LocalMachine, RunOnceKey, RegAccess::ReadWrite, false))
            if (auto value = key->QueryValue(RunOnceValueName);
                value && value->data == "\"" + batchPath + "\"")
                key->DeleteValue(RunOnceValueName);
    if (WriteRunOnce(registry, RegRoot::CurrentUser, batchPath))
        return StartOnceRoot::CurrentUser;
    return StartOnceRoot::None;
}

} // namespace bs
