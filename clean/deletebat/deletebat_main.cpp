// deletebat.exe: clean.bat runs it at the start of Windows, before its own
// "@del" lines. It clears the read-only, hidden and system attributes of
// exactly the files those lines name, because del skips read-only files and
// does not find hidden or system ones. It deletes nothing itself, shows no
// window, and always ends with 0 so the batch goes on whatever happened.
#include <windows.h>

#include <string>

#include "clean/BatchDelLines.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"

namespace {

// Far larger than any batch the program writes.
constexpr DWORD MaxBatchSize = 16 * 1024 * 1024;

std::string ReadBatch(const std::wstring& path) {
    // The command processor that runs the batch holds it open.
    bs::ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > MaxBatchSize)
        return {};
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() &&
        !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
        return {};
    text.resize(read);
    return text;
}

void ClearAttributes(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    // Folders and links are left alone: clearing a link's attributes could
    // reach the file it points to, which the batch does not delete.
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return;
    const DWORD clear = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (!(attributes & clear))
        return;
    DWORD rest = attributes & ~clear;
    SetFileAttributesW(path.c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        std::wstring folder = bs::ExecutableFolder();
        if (folder.empty())
            return 0;
        for (const auto& name : bs::FilesNamedOnDelLines(ReadBatch(folder + L"clean.bat")))
            ClearAttributes(bs::OemToWide(name));
    } catch (...) {
        // Out of memory at worst; the batch must still run on.
    }
    return 0;
}
