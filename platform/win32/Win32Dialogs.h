// Real message boxes and file-open dialogs.
#pragma once

#include "platform/Dialogs.h"

namespace bs {

class Win32Dialogs : public Dialogs {
public:
    int Message(uintptr_t owner, const std::string& text, const std::string& caption,
                unsigned style) override;
    std::optional<std::string> OpenFile(uintptr_t owner, const std::string& filter,
                                        const std::string& initialFolder) override;
};

} // namespace bs
