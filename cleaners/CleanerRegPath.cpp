#include "cleaners/CleanerRegPath.h"

#include "platform/Text.h"

namespace bs {

std::optional<CleanerRegPath> ParseCleanerRegPath(std::string_view text) {
    const size_t slash = text.find('\\');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string root = UpperAscii(text.substr(0, slash));
    CleanerRegPath result;
    if (root == "HKCU" || root == "HKEY_CURRENT_USER")
        result.root = RegRoot::CurrentUser;
    else if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE")
        result.root = RegRoot::LocalMachine;
    else if (root == "HKU" || root == "HKEY_USERS")
        result.root = RegRoot::Users;
    else if (root == "HKCR" || root == "HKEY_CLASSES_ROOT")
        result.root = RegRoot::ClassesRoot;
    else
        return std::nullopt;
    std::string_view rest = text.substr(slash + 1);
    while (!rest.empty() && rest.back() == '\\')
        rest.remove_suffix(1);
    if (rest.empty())
        return std::nullopt;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string_view::npos)
            end = rest.size();
        std::string_view step = rest.substr(start, end - start);
        if (step.empty() || step == "." || step == "..")
            return std::nullopt;
        start = end + 1;
    }
    result.path = std::string(rest);
    return result;
}

} // namespace bs
