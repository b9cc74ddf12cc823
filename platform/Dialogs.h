// Modal questions and file pickers. The window asks through this interface
// so tests can script the answers instead of blocking on a real box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bs {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box with the MessageBoxStyle buttons and icon; returns
    // the MessageBoxAnswer. `owner` is the window handle as an integer (0: none).
    virtual int Message(uintptr_t owner, const std::string& text, const std::string& caption,
                        unsigned style) = 0;
    // A file-open dialog; `filter` uses "|" between description and pattern
    // pairs ("Backup files|*.bck"). nullopt when cancelled.
    virtual std::optional<std::string> OpenFile(uintptr_t owner, const std::string& filter,
                                                const std::string& initialFolder) = 0;
    // A file-save dialog with the same filter form, starting on the file
    // name `initialName`; it asks before replacing a file. nullopt when
    // cancelled.
    virtual std::optional<std::string> SaveFile(uintptr_t owner, const std::string& filter,
                                                const std::string& initialName) = 0;
};

} // namespace bs
