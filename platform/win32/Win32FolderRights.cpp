// Who may write into a folder, read from its access list: anything at the
// start of Windows runs with an administrator's rights, so it must come from
// a folder only administrators and the system can change.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Paths.h"

namespace bs {
namespace {

struct LocalMemory {
    HLOCAL memory = nullptr;
    ~LocalMemory() {
        if (memory)
            LocalFree(memory);
    }
};

// The accounts whose right to write is no danger: they could replace any
// program anyway.
bool IsTrusted(PSID sid) {
    static const WELL_KNOWN_SID_TYPE trusted[] = {WinBuiltinAdministratorsSid, WinLocalSystemSid};
    for (auto type : trusted)
        if (IsWellKnownSid(sid, type))
            return true;
    // NT SERVICE\TrustedInstaller, which owns the system's own folders.
    PSID installer = nullptr;
    bool same = false;
    if (ConvertStringSidToSidW(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                               &installer)) {
        same = EqualSid(sid, installer) != 0;
        LocalFree(installer);
    }
    return same;
}

} // namespace

namespace {

// True when an account that is not trusted holds any of `rights` on `path`
// itself, or owns it (an owner may give himself any right), or when the
// rights cannot be read.
bool UntrustedMayDo(const std::wstring& path, ACCESS_MASK rights) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    LocalMemory descriptor;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &descriptor.memory) != ERROR_SUCCESS)
        return true;
    if (!dacl || !owner || !IsTrusted(owner))
        return true; // no list at all: everyone has every right
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!GetAce(dacl, index, &ace))
            return true;
        auto* header = static_cast<ACE_HEADER*>(ace);
        // An entry for what is created below only, such as CREATOR OWNER's,
        // grants nothing on the folder itself.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if ((allowed->Mask & rights) && !IsTrusted(&allowed->SidStart))
            return true;
    }
    return false;
}

} // namespace

bool Win32FileSystem::OthersMayWrite(const std::string& folder) {
    std::wstring path = ExactPathForm(folder);
    if (path.size() > 1 && path.back() == L'\\' && path[path.size() - 2] != L':')
        path.pop_back();
    const ACCESS_MASK changing = WRITE_DAC | WRITE_OWNER | GENERIC_ALL;
    const ACCESS_MASK writing = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                FILE_WRITE_ATTRIBUTES | DELETE | FILE_DELETE_CHILD | GENERIC_WRITE |
                                changing;
    if (UntrustedMayDo(path, writing))
        return true;
    // Whoever may rename the folder, or a folder above it, away may put one
    // of his own in its place: that takes the right to delete it, or to
    // delete children of its parent.
    for (size_t cut = path.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
         cut = path.rfind(L'\\', cut - 1)) {
        const bool root = path[cut - 1] == L':';
        const std::wstring step = path.substr(0, cut);
        const std::wstring parent = root ? step + L"\\" : step;
        if (UntrustedMayDo(parent, FILE_DELETE_CHILD | changing))
            return true;
        if (root)
            break;
        if (UntrustedMayDo(parent, DELETE | changing))
            return true;
    }
    return false;
}

} // namespace bs
