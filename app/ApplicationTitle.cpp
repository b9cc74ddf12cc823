#include "app/ApplicationTitle.h"

#include "platform/Text.h"

namespace bs {

std::string ApplicationTitle(const std::string& executablePath) {
    std::string name = ExtractFileName(executablePath);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    if (name.size() > 1)
        name = name.substr(0, 1) + LowerAscii(name.substr(1));
    return name;
}

} // namespace bs
