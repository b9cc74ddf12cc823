#include "platform/win32/CleaningLock.h"

namespace bs {

CleaningLock::CleaningLock() : mutex_(CreateMutexW(nullptr, FALSE, CleaningLockName)) {}

bool CleaningLock::Acquire(DWORD milliseconds) {
    if (held_)
        return true;
    if (!mutex_.Valid())
        return false;
    DWORD waited = WaitForSingleObject(mutex_.Get(), milliseconds);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return held_;
}

void CleaningLock::Release() {
    if (!held_)
        return;
    held_ = false;
    // Released by the thread that took it; a failure leaves nothing to undo.
    ReleaseMutex(mutex_.Get());
}

} // namespace bs
