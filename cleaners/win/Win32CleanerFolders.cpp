#include "cleaners/win/Win32CleanerFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/Text.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        result = Narrow(path);
    CoTaskMemFree(path);
    while (result.size() > 3 && result.back() == '\\')
        result.pop_back();
    return result;
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1)
        return {};
    std::string result = Narrow(std::wstring_view(buffer, length));
    while (result.size() > 3 && result.back() == '\\')
        result.pop_back();
    return result;
}

std::string UserName() {
    wchar_t buffer[257];
    DWORD length = 257;
    if (!GetUserNameW(buffer, &length) || length == 0)
        return {};
    return Narrow(std::wstring_view(buffer, length - 1));
}

std::vector<std::string> Both(const std::string& first, const std::string& second) {
    std::vector<std::string> folders;
    if (!first.empty())
        folders.push_back(first);
    if (!second.empty() && !SameText(first, second))
        folders.push_back(second);
    return folders;
}

} // namespace

std::vector<std::string> Win32CleanerFolders::Folders(std::string_view variable) {
    const std::string name = UpperAscii(variable);
    auto it = known_.find(name);
    if (it == known_.end())
        it = known_.emplace(name, Ask(name)).first;
    return it->second;
}

std::vector<std::string> Win32CleanerFolders::Ask(const std::string& name) {
    std::string one;
    if (name == "PROGRAMFILES")
        return Both(KnownFolder(FOLDERID_ProgramFilesX64), KnownFolder(FOLDERID_ProgramFilesX86));
    if (name == "COMMONPROGRAMFILES")
        return Both(KnownFolder(FOLDERID_ProgramFilesCommonX64),
                    KnownFolder(FOLDERID_ProgramFilesCommonX86));
    if (name == "LOCALAPPDATA")
        one = KnownFolder(FOLDERID_LocalAppData);
    else if (name == "APPDATA")
        one = KnownFolder(FOLDERID_RoamingAppData);
    else if (name == "LOCALLOWAPPDATA")
        one = KnownFolder(FOLDERID_LocalAppDataLow);
    else if (name == "USERPROFILE")
        one = KnownFolder(FOLDERID_Profile);
    else if (name == "PROGRAMDATA" || name == "COMMONAPPDATA" || name == "ALLUSERSPROFILE")
        one = KnownFolder(FOLDERID_ProgramData);
    else if (name == "WINDIR" || name == "SYSTEMROOT")
        one = KnownFolder(FOLDERID_Windows);
    else if (name == "SYSTEMDRIVE") {
        one = KnownFolder(FOLDERID_Windows);
        if (one.size() >= 2 && one[1] == ':')
            one.resize(2);
        else
            one.clear();
    } else if (name == "PUBLIC")
        one = KnownFolder(FOLDERID_Public);
    else if (name == "DOCUMENTS")
        one = KnownFolder(FOLDERID_Documents);
    else if (name == "TEMP" || name == "TMP")
        one = TempFolder();
    else if (name == "USERNAME")
        one = UserName();
    if (one.empty())
        return {};
    return {one};
}

} // namespace bs
