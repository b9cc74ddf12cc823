// Real message boxes and file-open and file-save dialogs.
#pragma once

#include "platform/Dialogs.h"

namespace bs {

class Win32Dialogs : public Dialogs {
public:
    int Message(uintptr_t owner, const std::string& text, const std::string& caption,
                unsigned style) override;
    std::optional<std::string> OpenFile(uintptr_t owner, const std::string& filter,
                                        const std::string& initialFolder) override;
    std::optional<std::string> SaveFile(uintptr_t owner, const std::string& filter,
                                        const std::string& initialName) override;
};

} // namespace bs
