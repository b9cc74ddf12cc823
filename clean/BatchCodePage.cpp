#include "clean/BatchCodePage.h"

namespace bs {

std::optional<std::string> AsciiBatchCodePage::Spell(const std::string& path) {
    for (unsigned char c : path)
        if (c >= 0x80)
            return std::nullopt;
    return path;
}

} // namespace bs
