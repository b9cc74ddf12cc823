#include "platform/win32/PrivateFolder.h"

#include <windows.h>

#include <sddl.h>

#include <vector>

#include "platform/win32/Scoped.h"

namespace bs {

std::wstring ProcessUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    ScopedKernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return {};
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text))
        return {};
    ScopedLocalMemory ownedText(text);
    return text;
}

bool CreatePrivateFolderW32(const std::wstring& path) {
    std::wstring user = ProcessUserSid();
    if (user.empty())
        return false;
    // P: protected, nothing inherited from above; OICI: files and folders
    // made inside inherit the same two entries; FA: full access.
    std::wstring sddl = L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;BA)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    ScopedLocalMemory ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    return CreateDirectoryW(path.c_str(), &attributes) != 0;
}

} // namespace bs
