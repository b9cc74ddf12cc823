#include "cleaners/CleanupTexts.h"

namespace bs {

std::string CleanupKiloBytes(uint64_t bytes) {
    return std::to_string(bytes / 1024) + " KB";
}

std::string CleanupStateText(CleanupState state, const CleanupFault& fault,
                             const LocalTexts& texts) {
    int id = 0;
    switch (state) {
    case CleanupState::Ok:
        return "";
    case CleanupState::NothingToClean:
        id = TextCleanupNothing;
        break;
    case CleanupState::NotRegistered:
        id = TextCleanupNotRegistered;
        break;
    case CleanupState::NotLoadable:
        id = TextCleanupNotLoadable;
        break;
    case CleanupState::Failed:
        id = TextCleanupFailed;
        break;
    case CleanupState::NotAnswering:
        id = TextCleanupNotAnswering;
        break;
    case CleanupState::Stopped:
        id = TextCleanupStopped;
        break;
    case CleanupState::NotElevated:
        id = TextCleanupNeedsAdmin;
        break;
    case CleanupState::NoLongerRegistered:
        id = TextCleanupGone;
        break;
    }
    std::string text = texts(id);
    // The call and its code are for whoever looks into it, in no language.
    if (CleanupStateHasFault(state))
        if (const std::string call = CleanupFaultText(fault); !call.empty())
            text += " (" + call + ")";
    return text;
}

std::string CleanupPurgeQuestion(const std::vector<std::string>& keys, const CleanupNamer& nameOf,
                                 const std::function<bool(const std::string&, uint64_t&)>& sizeOf,
                                 const LocalTexts& texts) {
    std::string text = texts(TextCleanupNoBackup) + "\n";
    for (const std::string& key : keys) {
        text += "\n    " + nameOf(key);
        if (uint64_t bytes = 0; sizeOf(key, bytes))
            text += "  " + CleanupKiloBytes(bytes);
    }
    return text;
}

std::string CleanupPurgeSummary(const CleanupPurgeReport& report, const CleanupNamer& nameOf,
                                const LocalTexts& texts) {
    std::string text = texts(TextCleanupGroup) + ":";
    for (const CleanupHandlerPurge& purge : report.handlers) {
        const bool named = !purge.displayName.empty() && purge.displayName != purge.key;
        text += "\n    " + (named ? purge.displayName : nameOf(purge.key)) + ": ";
        if (purge.state == CleanupState::Ok)
            text += texts(TextCleanupFreed) + " " + CleanupKiloBytes(purge.freed);
        else
            text += CleanupStateText(purge.state, purge.fault, texts);
    }
    return text;
}

} // namespace bs
