#include "clean/RegistryFind.h"

namespace bs {

namespace {

enum TextId {
    TextDate = 31,
    TextKeyName = 68,
    TextValueName = 69,
    TextValueString = 70,
    TextRegistryScanned = 71,
    TextScanningRegistry = 85,
};

} // namespace

std::vector<RegistryStart> DefaultRegistryStarts() {
    return {{RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "Software"},
            {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\"},
            {RegRoot::Users, "HKEY_USERS", "\\"}};
}

RegistryFindResult RunRegistryFind(RegistryScanContext& context) {
    const LocalTexts& text = context.texts;
    context.ui.SetProgressPosition(0);
    context.ui.SetStatus(text(TextScanningRegistry));
    context.list.Clear();
    context.list.SetColumnCaptions(
        {text(TextKeyName), text(TextValueName), text(TextValueString), text(TextDate)});
    context.list.Repaint();
    RegistryFindResult result = ScanRegistry(context);
    if (!result.stopped && result.error.empty())
        context.ui.SetStatus(text(TextRegistryScanned));
    return result;
}

} // namespace bs
