#include "backup/BckArguments.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/Text.h"

namespace bs {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where the recursion switch begins in `arg`; npos when there is none.
size_t RecursionSwitch(std::string_view arg) {
    for (size_t at = 0; at + 2 <= arg.size(); ++at) {
        bool wordStart = at == 0 || IsBlank(arg[at - 1]);
        bool wordEnd = at + 2 == arg.size() || IsBlank(arg[at + 2]);
        if (wordStart && wordEnd && SameText(arg.substr(at, 2), "/s"))
            return at;
    }
    return std::string_view::npos;
}

bool IsBlankText(const std::string& text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

std::vector<BckSpec> Specs(const std::vector<std::string>& args) {
    std::vector<BckSpec> specs;
    for (const auto& arg : args) {
        if (SameText(arg, "/s") && !specs.empty()) {
            specs.back().recurse = true;
            continue;
        }
        size_t recurse = RecursionSwitch(arg);
        std::string path = arg.substr(0, recurse);
        while (!path.empty() && path.back() == ' ')
            path.pop_back();
        specs.push_back({path, recurse != std::string::npos});
    }
    return specs;
}

} // namespace

std::optional<BckCommand> ParseBckArguments(const std::vector<std::string>& args) {
    if (args.size() < 2 || args[0].size() != 1)
        return std::nullopt;
    BckCommand parsed;
    parsed.command = static_cast<char>(std::tolower(static_cast<unsigned char>(args[0][0])));
    parsed.archive = args[1];
    std::vector<std::string> rest(args.begin() + 2, args.end());
    switch (parsed.command) {
    case 'l':
    case 't':
        if (rest.empty())
            return parsed;
        break;
    case 'x':
        // An empty destination would mean the stored paths themselves: the
        // tool never writes there (an unset variable is enough to get one).
        if (!rest.empty() && !IsBlankText(rest[0])) {
            parsed.destination = rest[0];
            parsed.names.assign(rest.begin() + 1, rest.end());
            return parsed;
        }
        break;
    case 'a':
        if (!rest.empty()) {
            parsed.specs = Specs(rest);
            return parsed;
        }
        break;
    }
    return std::nullopt;
}

} // namespace bs
