// Whether a cleaner's application is on this machine, so that the dialog
// shows it: one of its Detect keys, DetectFile paths or its SpecialDetect
// browser is there. An entry with none of them is always shown.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cleaners/CleanerEntry.h"
#include "cleaners/CleanerEnvironment.h"

namespace bs {

// A registry key in the cleaner format opens, in the 64-bit or (below
// HKLM and HKCR, which 32-bit programs see apart) the 32-bit view; only
// read, never created.
bool CleanerKeyExists(Registry& registry, const std::string& written);

// Detects many entries at the cost of few questions: most of a library's
// keys and paths name vendors that are not on the machine, so the names
// directly below a registry root's first key ("Software") and below each
// folder of an environment name are read once, and a key or path whose
// next step is not among them is not there. Only that step is settled so;
// the rest is asked, links refused, as the Find asks.
class CleanerDetector {
public:
    explicit CleanerDetector(CleanerEnvironment& environment) : env_(environment) {}

    bool IsDetected(const CleanerEntry& entry);
    bool KeyExists(const std::string& written);
    bool PathExists(const std::string& written);

private:
    // Upper-case ASCII names below a key or folder; nullopt-like empty
    // pointer when it could not be listed (then nothing is settled by it).
    const std::set<std::string>* SubKeys(int root, int view, const std::string& key);
    const std::set<std::string>* FolderNames(const std::string& folder);

    CleanerEnvironment& env_;
    std::map<std::string, std::set<std::string>> subKeys_;
    std::map<std::string, std::set<std::string>> folderNames_;
    std::set<std::string> unlisted_;
};

bool IsCleanerDetected(CleanerEnvironment& environment, const CleanerEntry& entry);

// The indexes of the library's detected entries, in library order.
std::vector<size_t> DetectedCleaners(CleanerEnvironment& environment,
                                     const CleanerLibrary& library);

} // namespace bs
