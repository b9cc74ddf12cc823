#include "app/StartUpEntries.h"

namespace bs {

namespace {

bool WriteString(Registry& registry, RegRoot root, const std::string& path, const std::string& name,
                 const std::string& value) {
    auto key = registry.Open(root, path, RegAccess::ReadWrite, true);
    return key && key->SetString(name, value);
}

} // namespace

void WriteStartUpEntries(Registry& registry, const std::string& programPath,
                         const std::string& programDir) {
    // Each failure is skipped silently: a standard user cannot write the
    // machine's keys, and the program starts all the same.
    WriteString(registry, RegRoot::CurrentUser, ProgramPathKey, "Path", programPath);
    WriteString(registry, RegRoot::ClassesRoot, ContextMenuClassKey, "", "Brimsweep Context Menu");
    registry.Open(RegRoot::ClassesRoot, std::string(ContextMenuClassKey) + "\\InProcServer32",
                  RegAccess::ReadWrite, true);
    // Quoted, so that a folder such as C:\Program Files\... can never start
    // C:\Program.exe instead; under the user's own Run key when the
    // machine's cannot be written, so the tray monitor still starts at log-on.
    const std::string command = "\"" + programDir + "brimsweep.exe\"";
    if (!WriteString(registry, RegRoot::LocalMachine, RunKey, RunValueName, command))
        WriteString(registry, RegRoot::CurrentUser, RunKey, RunValueName, command);
}

} // namespace bs
