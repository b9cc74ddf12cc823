#include "app/UninstallArguments.h"

#include <string>

namespace bs {

bool SilentUninstall(std::string_view commandLine) {
    // As the runtime splits a command line: blanks outside double quotes end
    // an argument, and the quotes themselves are no part of it.
    std::string argument;
    bool quoted = false;
    auto isSwitch = [&argument] { return argument == "/S" || argument == "/s"; };
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (isSwitch())
                return true;
            argument.clear();
        } else {
            argument += c;
        }
    }
    return isSwitch();
}

} // namespace bs
