#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

HKEY RootHandle(RegRoot root) {
    switch (root) {
    case RegRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegRoot::Users:
        return HKEY_USERS;
    case RegRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    }
    return HKEY_CURRENT_USER;
}

std::wstring KeyPath(const std::string& path) {
    size_t start = path.find_first_not_of('\\');
    if (start == std::string::npos)
        return {};
    size_t end = path.find_last_not_of('\\');
    return Widen(path.substr(start, end - start + 1));
}

RegValue ToValue(DWORD type, std::string_view bytes) {
    RegValue value;
    value.type = type;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        // Stored strings may or may not carry their terminator.
        size_t end = std::min(text.size(), text.find(L'\0'));
        std::wstring_view stored(text.data(), end);
        // An odd last byte is no character, and would be lost as well.
        value.textComplete = bytes.size() % sizeof(wchar_t) == 0 &&
                             text.find_first_not_of(L'\0', end) == std::wstring::npos &&
                             IsWellFormedUtf16(stored);
        value.data = Narrow(stored);
    } else {
        value.data = std::string(bytes);
    }
    return value;
}

// A function of ntdll, which every process has loaded; looked up rather
// than imported, as the registry's native calls are not in the Win32 API.
template <typename Function> Function NtdllFunction(const char* name) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)))
                 : nullptr;
}

// The W calls end a name at its first NUL, but the registry counts the
// characters of a name, and "Path" + NUL + "x" is another value than "Path"
// (and NUL + "x" another than the default value). A name or path holding a
// NUL is never passed on, so no call acts on its shortened form.
bool Passable(const std::string& name) {
    return name.find('\0') == std::string::npos;
}

// A stored name with a lone surrogate comes out of Narrow with U+FFFD in its
// place, which names another key or value: such names are left out of every
// listing, as nothing could name them again.
bool Listable(std::wstring_view name) {
    return IsWellFormedUtf16(name);
}

REGSAM Access(RegAccess access) {
    return access == RegAccess::ReadWrite ? KEY_READ | KEY_WRITE : KEY_READ;
}

class Win32Key : public RegistryKey {
public:
    Win32Key(ScopedKey key, REGSAM viewFlag) : key_(std::move(key)), viewFlag_(viewFlag) {}

    std::vector<std::string> SubKeyNames() override { return ReadSubKeyNames(UINT32_MAX); }
    std::vector<std::string> FirstSubKeyNames(uint32_t count) override {
        return ReadSubKeyNames(count);
    }

    std::vector<std::string> ValueNames() override {
        std::vector<std::string> names;
        DWORD maxLength = 0;
        if (RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &maxLength, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        std::wstring name(maxLength + 1, L'\0');
        for (DWORD index = 0;; ++index) {
            DWORD length = maxLength + 1;
            LONG result = RegEnumValueW(key_.Get(), index, name.data(), &length, nullptr, nullptr,
                                        nullptr, nullptr);
            if (result == ERROR_MORE_DATA) {
                // A value was added after the size query: grow and retry.
                maxLength = maxLength * 2 + 256;
                name.assign(maxLength + 1, L'\0');
                --index;
                continue;
            }
            if (result != ERROR_SUCCESS)
                break;
            if (Listable(std::wstring_view(name.data(), length)))
                names.push_back(Narrow(std::wstring_view(name.data(), length)));
        }
        return names;
    }

    std::optional<RegValue> QueryValue(const std::string& name) override {
        if (!Passable(name))
            return std::nullopt;
        std::wstring wideName = Widen(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::string bytes(size, '\0');
        if (RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS)
            return std::nullopt;
        bytes.resize(size);
        return ToValue(type, bytes);
    }

    std::vector<RegNamedValue> Values() override { return ReadValues(UINT32_MAX); }
    std::vector<RegNamedValue> FirstValues(uint32_t count) override { return ReadValues(count); }

    std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path, RegAccess access) override {
        if (!Passable(path))
            return nullptr;
        HKEY handle = nullptr;
        if (RegOpenKeyExW(key_.Get(), KeyPath(path).c_str(), 0, Access(access) | viewFlag_,
                          &handle) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32Key>(ScopedKey(handle), viewFlag_);
    }

    std::optional<RegKeyInfo> Info() override {
        DWORD subKeys = 0, values = 0;
        FILETIME lastWrite;
        if (RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, &lastWrite) != ERROR_SUCCESS)
            return std::nullopt;
        return RegKeyInfo{subKeys, values,
                          (static_cast<uint64_t>(lastWrite.dwHighDateTime) << 32) |
                              lastWrite.dwLowDateTime};
    }

    bool SetString(const std::string& name, const std::string& value) override {
        if (!Passable(name))
            return false;
        std::wstring wide = Widen(value);
        return RegSetValueExW(key_.Get(), Widen(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.c_str()),
                              static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        if (!Passable(name))
            return false;
        return RegDeleteValueW(key_.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
    }

    bool DeleteSubKey(const std::string& name) override {
        if (!Passable(name))
            return false;
        return RegDeleteKeyExW(key_.Get(), Widen(name).c_str(), viewFlag_, 0) == ERROR_SUCCESS;
    }

    std::unique_ptr<RegistryKey> OpenSubKeyItself(const std::string& name) override {
        if (!Passable(name))
            return nullptr;
        HKEY handle = nullptr;
        if (RegOpenKeyExW(key_.Get(), Widen(name).c_str(), REG_OPTION_OPEN_LINK,
                          KEY_READ | KEY_WRITE | DELETE | viewFlag_, &handle) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32Key>(ScopedKey(handle), viewFlag_);
    }

    bool IsLink() override {
        // A link holds where it leads in this value, which only a handle
        // opened as the link itself shows; a plain key holding a value of
        // that type is taken for one too, as nothing else makes such values.
        DWORD type = 0;
        return RegQueryValueExW(key_.Get(), L"SymbolicLinkValue", nullptr, &type, nullptr,
                                nullptr) == ERROR_SUCCESS &&
               type == REG_LINK;
    }
    bool DeleteItself() override {
        // RegDeleteKeyEx names the key again and follows a link to delete
        // its target; the native call deletes the very key the handle holds.
        using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
        static const auto deleteKey = NtdllFunction<NtDeleteKeyFn>("NtDeleteKey");
        return deleteKey && deleteKey(key_.Get()) >= 0;
    }

private:
    std::vector<std::string> ReadSubKeyNames(uint32_t count) {
        std::vector<std::string> names;
        wchar_t name[256];
        for (DWORD index = 0; index < count; ++index) {
            DWORD length = 256;
            if (RegEnumKeyExW(key_.Get(), index, name, &length, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            if (Listable(std::wstring_view(name, length)))
                names.push_back(Narrow(std::wstring_view(name, length)));
        }
        return names;
    }

    std::vector<RegNamedValue> ReadValues(uint32_t count) {
        std::vector<RegNamedValue> values;
        // Buffers that hold what most values need; a longer one is read again
        // with room enough. Names are at most 16,383 characters. They are
        // kept from key to key: a walk reads thousands of keys, and clearing
        // 36 KB for each would cost more than reading its values.
        thread_local std::wstring name(16384, L'\0');
        thread_local std::string data(4096, '\0');
        for (DWORD index = 0; index < count;) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            LONG result = RegEnumValueW(key_.Get(), index, name.data(), &nameLength, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data.data()), &size);
            if (result == ERROR_MORE_DATA && size > data.size()) {
                data.assign(size, '\0');
                continue;
            }
            if (result != ERROR_SUCCESS)
                break;
            ++index;
            if (!Listable(std::wstring_view(name.data(), nameLength)))
                continue;
            values.push_back({Narrow(std::wstring_view(name.data(), nameLength)),
                              ToValue(type, std::string_view(data.data(), size))});
        }
        return values;
    }

    ScopedKey key_;
    // The view the key was opened in; a sub-key is deleted in the same one.
    REGSAM viewFlag_;
};

} // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(RegRoot root, const std::string& path,
                                                 RegAccess access, bool create) {
    return OpenInView(RegView::Native, root, path, access, create);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenInView(RegView view, RegRoot root,
                                                       const std::string& path, RegAccess access,
                                                       bool create) {
    // The native view is the 64-bit one, named outright: HKLM\Software then
    // shows the 32-bit programs' keys under its WOW6432Node sub-key, and a
    // path read by the scan names the same key when the Delete opens it again.
    REGSAM viewFlag = view == RegView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    REGSAM sam = Access(access) | viewFlag;
    if (!Passable(path))
        return nullptr;
    std::wstring subKey = KeyPath(path);
    HKEY handle = nullptr;
    LONG result = create ? RegCreateKeyExW(RootHandle(root), subKey.c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, sam, nullptr, &handle, nullptr)
                         : RegOpenKeyExW(RootHandle(root), subKey.c_str(), 0, sam, &handle);
    if (result != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(ScopedKey(handle), viewFlag);
}

} // namespace bs
