#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include "platform/win32/Utf.h"

namespace bs {

namespace {

// The common dialog wants "description\0pattern\0...\0\0".
std::wstring FilterList(const std::string& filter) {
    std::wstring filterList = Widen(filter);
    for (auto& c : filterList)
        if (c == L'|')
            c = L'\0';
    filterList.push_back(L'\0');
    filterList.push_back(L'\0');
    return filterList;
}

} // namespace

int Win32Dialogs::Message(uintptr_t owner, const std::string& text, const std::string& caption,
                          unsigned style) {
    return MessageBoxW(reinterpret_cast<HWND>(owner), Widen(text).c_str(), Widen(caption).c_str(),
                       style);
}

std::optional<std::string> Win32Dialogs::OpenFile(uintptr_t owner, const std::string& filter,
                                                  const std::string& initialFolder) {
    std::wstring filterList = FilterList(filter);
    std::wstring folder = Widen(initialFolder);
    // The first pattern ("*.bck") is the initial file name, and its
    // extension the one added to a name typed without one.
    std::wstring pattern = Widen(filter.substr(filter.find('|') + 1));
    pattern = pattern.substr(0, pattern.find(L'|'));
    std::wstring extension;
    if (size_t dot = pattern.rfind(L'.');
        dot != std::wstring::npos && pattern.find_first_of(L"*?", dot) == std::wstring::npos)
        extension = pattern.substr(dot + 1);
    wchar_t file[MAX_PATH * 4] = {};
    if (pattern.size() < MAX_PATH)
        lstrcpynW(file, pattern.c_str(), MAX_PATH);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner);
    dialog.lpstrFilter = filterList.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH * 4;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return Narrow(file);
}

std::optional<std::string> Win32Dialogs::SaveFile(uintptr_t owner, const std::string& filter,
                                                  const std::string& initialName) {
    std::wstring filterList = FilterList(filter);
    std::wstring name = Widen(initialName);
    std::wstring extension;
    if (size_t dot = name.rfind(L'.'); dot != std::wstring::npos)
        extension = name.substr(dot + 1);
    wchar_t file[MAX_PATH * 4] = {};
    if (name.size() < MAX_PATH)
        lstrcpynW(file, name.c_str(), MAX_PATH);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner);
    dialog.lpstrFilter = filterList.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH * 4;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    return Narrow(file);
}

} // namespace bs
