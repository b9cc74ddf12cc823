#include "platform/win32/CleaningLock.h"

#include <sddl.h>

namespace bs {
namespace {

// SYSTEM and the administrators get all access; authenticated users
// SYNCHRONIZE | MUTEX_MODIFY_STATE, enough to wait for the lock and release
// it. An object made by an elevated process carries its high integrity
// label, and no-write-up would refuse a medium process MUTEX_MODIFY_STATE
// whatever the DACL grants: the label is set to medium.
constexpr const wchar_t* LabelledSecurity =
    L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100001;;;AU)S:(ML;;NW;;;ME)";
constexpr const wchar_t* UnlabelledSecurity = L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100001;;;AU)";

HANDLE CreateWithSecurity(const wchar_t* name, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &made,
                                                              nullptr))
        return nullptr;
    ScopedLocalMemory descriptor(made);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.Get(), FALSE};
    return CreateMutexW(&attributes, FALSE, name);
}

HANDLE CreateOrOpen(const wchar_t* name) {
    HANDLE mutex = CreateWithSecurity(name, LabelledSecurity);
    DWORD error = mutex ? ERROR_SUCCESS : GetLastError();
    // Where the label is refused (a system that does not take it in a
    // descriptor, or a token that may not set it), the lock is made without
    // it: a medium creator's object is medium anyway, and only an elevated
    // creator's would shut a medium program out.
    if (!mutex && error != ERROR_ACCESS_DENIED) {
        mutex = CreateWithSecurity(name, UnlabelledSecurity);
        error = mutex ? ERROR_SUCCESS : GetLastError();
    }
    // Another user's or another integrity level's program made it first,
    // and opening it for all access is refused: what the lock needs is
    // granted to every signed-in user.
    if (!mutex && error == ERROR_ACCESS_DENIED)
        mutex = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
    return mutex;
}

} // namespace

CleaningLock::CleaningLock(const wchar_t* name) : mutex_(CreateOrOpen(name)) {}

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
