// The scope of one command of the main window; shared by the files that
// hold the window's commands.
#pragma once

#include "app/win/Form1.h"

namespace bs {

// Counts the commands on the stack, so that a real close waits until the
// last of them has unwound, and shows the hourglass while they run. An
// outermost command that cleans or restores holds the cleaning lock; while
// brimclean.exe holds it the command is refused, since both would take the
// same backup number. The memory commands touch no backup and never ask: a
// monitor tick must not raise a message every six seconds while brimclean
// runs.
class TForm1::CommandScope {
public:
    enum class Lock { Cleaning, None };

    explicit CommandScope(TForm1& form, Lock lock = Lock::Cleaning) : form_(form) {
        if (lock == Lock::Cleaning && form_.commandDepth_ == 0) {
            holdsLock_ = form_.cleaningLock_.Acquire(0);
            if (!holdsLock_) {
                refused_ = true;
                form_.Ask(form_.Texts()(CleaningElsewhereTextId), "Tarn Brimsweep Pro",
                          MbOk | MbIconInformation);
            }
        }
        ++form_.commandDepth_;
        previousCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    ~CommandScope() {
        if (holdsLock_)
            form_.cleaningLock_.Release();
        SetCursor(previousCursor_);
        if (--form_.commandDepth_ == 0 && form_.closePending_ && form_.hwnd_) {
            form_.closePending_ = false;
            PostMessageW(form_.hwnd_, WM_CLOSE, 0, 0);
        }
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    // The command must not run: another program is cleaning.
    bool Refused() const { return refused_; }

private:
    static constexpr int CleaningElsewhereTextId = 191;
    TForm1& form_;
    bool refused_ = false;
    bool holdsLock_ = false;
    HCURSOR previousCursor_ = nullptr;
};

} // namespace bs
