// bck.exe's command line: a command is taken only as the usage gives it, an
// extraction always has a destination that is not blank, and the patterns
// of "a", written out again, read back the same; "/s" counts only as a word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backup/BckArguments.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

inline std::string CheckBckArguments(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const char* const words[] = {"l",
                                        "t",
                                        "x",
                                        "a",
                                        "X",
                                        "A",
                                        "xx",
                                        "",
                                        " ",
                                        "/s",
                                        "/S",
                                        "c:\\a.bck",
                                        "c:/data/sb/*.txt",
                                        "*.txt /s",
                                        "d:\\out",
                                        "a /s b",
                                        "/sb",
                                        "\t",
                                        "x /s ",
                                        "/s/s"};
    std::vector<std::string> args;
    for (size_t count = in.Below(7); count > 0; --count)
        args.push_back(in.Below(5) == 0 ? in.Text(8) : std::string(in.Pick(words)));
    auto parsed = ParseBckArguments(args);
    if (!parsed)
        return {};
    const char typed = args[0].size() == 1 ? args[0][0] : 0;
    if (std::string("ltxaLTXA").find(typed) == std::string::npos ||
        parsed->command != (typed | 0x20))
        return "the command " + Shown(args[0]) + " is taken as " + std::string(1, parsed->command);
    if (parsed->archive != args[1])
        return "the archive is " + Shown(parsed->archive);
    if ((parsed->command == 'l' || parsed->command == 't') && args.size() != 2)
        return "l or t with more words";
    if (parsed->command == 'x' && parsed->destination.find_first_not_of(" \t") == std::string::npos)
        return "an extraction with the destination " + Shown(parsed->destination);
    if (parsed->command != 'a')
        return {};
    if (parsed->specs.empty())
        return "a without patterns";
    std::vector<std::string> again = {"a", parsed->archive};
    for (const auto& spec : parsed->specs) {
        if (!spec.path.empty() && spec.path.back() == ' ')
            return "the pattern " + Shown(spec.path) + " ends in a blank";
        again.push_back(spec.path);
        if (spec.recurse)
            again.push_back("/s");
    }
    auto back = ParseBckArguments(again);
    if (!back || back->specs.size() != parsed->specs.size())
        return "the patterns do not read back";
    for (size_t i = 0; i < parsed->specs.size(); ++i)
        if (back->specs[i].path != parsed->specs[i].path ||
            back->specs[i].recurse != parsed->specs[i].recurse)
            return "the pattern " + Shown(parsed->specs[i].path) + " reads back as " +
                   Shown(back->specs[i].path);
    return {};
}

} // namespace bs::fuzz
