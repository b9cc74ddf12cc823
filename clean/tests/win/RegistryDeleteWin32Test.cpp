// The Registry Delete against the real registry, and its backup handed to
// the system's regedit: values of every awkward name and text are deleted,
// and importing the backup brings each one back with the same name, type and
// data. Everything lives under a scratch key the test creates and removes.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "backup/win/AnsiText.h"
#include "clean/RegistryDelete.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

struct StoredValue {
    DWORD type = REG_SZ;
    std::wstring data;
};

// Key path below the scratch key, then value name.
using ValueMap = std::map<std::pair<std::wstring, std::wstring>, StoredValue>;

// Removes the scratch key with everything below it, whatever the outcome.
class ScratchKey {
public:
    ScratchKey()
        : path_(L"Software\\BrimsweepTest" + std::to_wstring(GetCurrentProcessId()) +
                L"\\RegDelete") {}
    ~ScratchKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.substr(0, path_.rfind(L'\\')).c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

bool WriteValue(const std::wstring& keyPath, const std::wstring& name, const StoredValue& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    ScopedKey key(handle);
    return RegSetValueExW(key.Get(), name.c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.c_str()),
                          static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// The value as stored, or nullopt when it is not there.
std::optional<StoredValue> ReadValue(const std::wstring& keyPath, const std::wstring& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return std::nullopt;
    ScopedKey key(handle);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size / sizeof(wchar_t));
    // Stored with its terminator, as the test wrote it and regedit writes it.
    if (data.empty() || data.back() != L'\0')
        return StoredValue{type, data + L"<no terminator>"};
    data.pop_back();
    return StoredValue{type, data};
}

DWORD ValueCount(const std::wstring& keyPath) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return 0;
    ScopedKey key(handle);
    DWORD count = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     nullptr, nullptr, nullptr, nullptr);
    return count;
}

std::string ReadBytes(FileSystem& files, const std::string& path) {
    std::string bytes;
    auto stream = files.OpenRead(path);
    char buffer[4096];
    while (size_t read = stream ? stream->Read(buffer, sizeof buffer) : 0)
        bytes.append(buffer, read);
    return bytes;
}

// Runs the system's regedit silently on `file` and waits for it.
bool ImportWithRegedit(const std::string& file) {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring program = std::wstring(windows) + L"\\regedit.exe";
    std::wstring command = L"\"" + program + L"\" /s \"" + Widen(file) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    ScopedKernelHandle processHandle(process.hProcess);
    ScopedKernelHandle threadHandle(process.hThread);
    return WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
}

// Random values under the scratch key: names and data made of the pieces a
// .reg line must escape or carry whole, a default value in every key, and
// both string types. With `ansiOnly` every text is spelled by the ANSI code
// page and holds no line break; otherwise some names hold line breaks too.
ValueMap MakeValues(const std::wstring& scratch, int count, bool ansiOnly) {
    std::vector<std::wstring> pieces = {L"\\", L"\"", L"=", L";", L"[",      L"]",           L"@",
                                        L"a",  L"Z",  L"7", L" ", L"%PATH%", L"C:\\x\\y.txt"};
    std::vector<std::wstring> keys = {scratch + L"\\plain", scratch + L"\\k[1]=x;y@"};
    if (Utf8ToAnsiExact("\xC3\xA9"))
        pieces.push_back(L"\u00E9");
    if (!ansiOnly) {
        for (const wchar_t* piece : {L"\u03A9", L"\u6F22", L"\U0001F600", L"\r\n", L"\n", L"\r"})
            pieces.push_back(piece);
        keys.push_back(scratch + L"\\\u03A9\u6F22");
    }
    std::mt19937 random(20240611u + static_cast<unsigned>(ansiOnly));
    auto pick = [&](int most) {
        std::wstring text;
        for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n)
            text += pieces[random() % pieces.size()];
        return text;
    };

    ValueMap values;
    std::vector<std::wstring> fixedNames = {L"@", L"\"", L"\\", L"=", L"[x]", L";"};
    for (int index = 0; index < count; ++index) {
        const std::wstring& key = keys[index % keys.size()];
        std::wstring name;
        if (index >= static_cast<int>(keys.size())) {
            size_t fixed = index - keys.size();
            name = fixed < fixedNames.size() ? fixedNames[fixed]
                                             : std::to_wstring(index) + L"_" + pick(6);
            if (random() % 8 == 0)
                name += L"\\";
            if (!ansiOnly && random() % 50 == 0)
                name += L"\r\nx";
        }
        StoredValue value{random() % 3 == 0 ? DWORD(REG_EXPAND_SZ) : DWORD(REG_SZ), pick(8)};
        if (random() % 10 == 0)
            value.data += L"\\";
        values[{key, name}] = value;
    }
    return values;
}

struct RoundTrip {
    ScratchKey scratch;
    ScratchFolder programDir;
    Win32FileSystem files;
    Win32Registry registry;
    RegistryCursor cursor{registry};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};

    RegistryDeleteResult Delete(const ValueMap& values) {
        bool leadingBackslash = false;
        for (const auto& [where, value] : values) {
            std::string path = Narrow(where.first);
            list.rows.push_back(
                {std::string("HKEY_CURRENT_USER: ") + (leadingBackslash ? "\\" : "") + path,
                 {Narrow(where.second), Narrow(value.data), "-"},
                 true});
            leadingBackslash = !leadingBackslash;
        }
        RegistryDeleteContext context(cursor, files, ui, list, texts);
        context.backupRegistry = true;
        context.programDir = programDir.Path();
        context.toAnsi = Utf8ToAnsiExact;
        return RunRegistryDelete(context);
    }
};

// Names with a line break have no form a .reg line can carry: they stay.
bool Holdable(const std::wstring& name) {
    return name.find_first_of(L"\r\n") == std::wstring::npos;
}

void ExpectRoundTrip(bool ansiOnly, int count, const std::string& header) {
    RoundTrip trip;
    ValueMap values = MakeValues(trip.scratch.Path(), count, ansiOnly);
    for (const auto& [where, value] : values)
        ASSERT_TRUE(WriteValue(where.first, where.second, value));

    auto result = trip.Delete(values);
    ASSERT_FALSE(result.stopped);
    int holdable = 0;
    for (const auto& [where, value] : values) {
        holdable += Holdable(where.second);
        EXPECT_EQ(ReadValue(where.first, where.second).has_value(), !Holdable(where.second))
            << Narrow(where.first) << " / " << Narrow(where.second);
    }
    EXPECT_EQ(result.deleted, holdable);
    EXPECT_EQ(result.kept, count - holdable);
    EXPECT_EQ(trip.list.RowCount(), count - holdable) << "the rows of the values kept stay";
    ASSERT_NE(result.backupFile, "");
    std::string file = ReadBytes(trip.files, result.backupFile);
    EXPECT_EQ(file.substr(0, header.size()), header);

    ASSERT_TRUE(ImportWithRegedit(result.backupFile));
    std::map<std::wstring, DWORD> perKey;
    int wrong = 0;
    for (const auto& [where, value] : values) {
        ++perKey[where.first];
        auto back = ReadValue(where.first, where.second);
        bool same = back && back->type == value.type && back->data == value.data;
        if (!same && ++wrong <= 10)
            ADD_FAILURE() << Narrow(where.first) << " / \"" << Narrow(where.second)
                          << "\" came back as "
                          << (back ? std::to_string(back->type) + " \"" + Narrow(back->data) + "\""
                                   : std::string("nothing"))
                          << ", was " << value.type << " \"" << Narrow(value.data) << "\"";
    }
    EXPECT_EQ(wrong, 0);
    for (const auto& [key, expected] : perKey)
        EXPECT_EQ(ValueCount(key), expected) << "no value more or less in " << Narrow(key);
}

TEST(RegistryDeleteWin32, TwoThousandValuesOfAnyTextComeBackWholeFromTheUnicodeBackup) {
    ExpectRoundTrip(false, 2000, std::string("\xFF\xFEW\0i\0n\0", 8));
}

TEST(RegistryDeleteWin32, AnsiValuesComeBackWholeFromARegedit4Backup) {
    ExpectRoundTrip(true, 300, "REGEDIT4\r\n");
}

} // namespace
} // namespace bs
