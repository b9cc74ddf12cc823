// The command line of bck.exe, read without touching any file: which command,
// the archive, and what follows it. Paths stay as typed; the tool makes them
// full paths.
//   bck l|t ARCHIVE    bck x ARCHIVE DEST [NAME...]    bck a ARCHIVE SPEC...
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bs {

struct BckSpec {
    std::string path; // the pattern without its recursion switch or trailing blanks
    bool recurse = false;
};

struct BckCommand {
    char command = 0; // 'l', 't', 'x' or 'a'
    std::string archive;
    // x: never empty or blank, so the tool never writes to the stored paths.
    std::string destination;
    std::vector<std::string> names;
    std::vector<BckSpec> specs; // a
};

// nullopt for a usage error. In SPEC only "/s" as a word of its own counts
// as the recursion switch ("c:/data/sb/*.txt" holds none); a separate "/s"
// argument belongs to the pattern before it.
std::optional<BckCommand> ParseBckArguments(const std::vector<std::string>& args);

} // namespace bs
