// The named lock that one cleaning holds at a time, shared by the window's
// commands and brimclean.exe: while one program cleans, the other does not
// take the same backup-archive number or rewrite language.txt over it.
// The window may run elevated and a scheduled brimclean not, or the other way
// round, so the lock is made open to every signed-in user: any of them may
// wait for it and release it, and only SYSTEM and the administrators may do
// more with it.
#pragma once

#include <windows.h>

#include "platform/win32/Scoped.h"

namespace bs {

inline constexpr const wchar_t* CleaningLockName = L"Global\\TarnBrimsweepCleaning";

class CleaningLock {
public:
    // `name` other than the program's own: tests, which must not touch the
    // lock a cleaning on the machine may hold.
    explicit CleaningLock(const wchar_t* name = CleaningLockName);
    ~CleaningLock() { Release(); }
    CleaningLock(const CleaningLock&) = delete;
    CleaningLock& operator=(const CleaningLock&) = delete;

    // Waits up to `milliseconds` for the lock; true once this thread holds
    // it. A holder that ended without releasing it leaves it free.
    bool Acquire(DWORD milliseconds);
    void Release();
    bool Held() const { return held_; }

private:
    ScopedKernelHandle mutex_;
    bool held_ = false;
};

} // namespace bs
