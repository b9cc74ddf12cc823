// The scope of one command of the main window; shared by the files that
// hold the window's commands.
#pragma once

#include "app/win/Form1.h"

namespace bs {

// Counts the commands on the stack, so that a real close waits until the
// last of them has unwound, and shows the hourglass while they run.
class TForm1::CommandScope {
public:
    explicit CommandScope(TForm1& form) : form_(form) {
        ++form_.commandDepth_;
        previousCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    ~CommandScope() {
        SetCursor(previousCursor_);
        if (--form_.commandDepth_ == 0 && form_.closePending_ && form_.hwnd_) {
            form_.closePending_ = false;
            PostMessageW(form_.hwnd_, WM_CLOSE, 0, 0);
        }
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    TForm1& form_;
    HCURSOR previousCursor_ = nullptr;
};

} // namespace bs
