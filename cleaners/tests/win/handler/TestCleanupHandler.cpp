// A cleanup handler of our own, for the tests only (never shipped): Wine
// registers none. The test registers it under VolumeCaches with two values
// that drive it:
//   TestFolder  the scratch folder (ending in "\"): it measures and purges the
//               files in TestFolder\files\, appends each call to
//               TestFolder\calls.txt, and hangs while TestFolder\hold exists;
//   TestMode    ok, nameless (gives no names), nothing (Initialize answers
//               S_FALSE), fail-initialize, fail-scan, hang-scan, hang-purge,
//               pause-purge (holds after the first file it purged).
// Its second class is the same handler without IEmptyVolumeCache2.
#include <windows.h>

#include <emptyvc.h>
#include <objbase.h>

#include <string>

namespace {

// {6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B90}
const CLSID TestHandlerClass = {
    0x6b0f3c2e, 0x4a1d, 0x4e7b, {0x9c, 0x55, 0x2d, 0x8e, 0x1f, 0x3a, 0x7b, 0x90}};
// {6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B91}
const CLSID OldTestHandlerClass = {
    0x6b0f3c2e, 0x4a1d, 0x4e7b, {0x9c, 0x55, 0x2d, 0x8e, 0x1f, 0x3a, 0x7b, 0x91}};

LONG liveObjects = 0;
LONG serverLocks = 0;

std::wstring ReadValue(HKEY key, const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (!key ||
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return L"";
    return text;
}

LPWSTR TaskText(const wchar_t* text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}

class TestHandler final : public IEmptyVolumeCache2 {
public:
    explicit TestHandler(bool newer) : newer_(newer) { InterlockedIncrement(&liveObjects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IEmptyVolumeCache))
            *object = static_cast<IEmptyVolumeCache*>(this);
        else if (IsEqualIID(id, IID_IEmptyVolumeCache2) && newer_)
            *object = static_cast<IEmptyVolumeCache2*>(this);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Initialize(HKEY key, LPCWSTR volume, LPWSTR* name,
                                         LPWSTR* description, DWORD* flags) override {
        return Start(key, volume, L"Initialize", L"", name, description, flags);
    }
    HRESULT STDMETHODCALLTYPE InitializeEx(HKEY key, LPCWSTR volume, LPCWSTR keyName, LPWSTR* name,
                                           LPWSTR* description, LPWSTR* button,
                                           DWORD* flags) override {
        if (button)
            *button = nullptr;
        return Start(key, volume, L"InitializeEx", keyName ? keyName : L"", name, description,
                     flags);
    }

    HRESULT STDMETHODCALLTYPE GetSpaceUsed(DWORDLONG* used,
                                           IEmptyVolumeCacheCallBack* callBack) override {
        Log(L"GetSpaceUsed");
        if (mode_ == L"fail-scan")
            return E_FAIL;
        if (mode_ == L"hang-scan")
            Hold();
        DWORDLONG total = 0;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder_ + L"files\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                total += (static_cast<DWORDLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
                if (callBack && callBack->ScanProgress(total, 0, data.cFileName) == E_ABORT) {
                    FindClose(find);
                    return E_ABORT;
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        *used = total;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Purge(DWORDLONG toFree,
                                    IEmptyVolumeCacheCallBack* callBack) override {
        Log(L"Purge " + std::to_wstring(toFree));
        if (mode_ == L"hang-purge")
            Hold();
        DWORDLONG freed = 0;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder_ + L"files\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return S_OK;
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            if (DeleteFileW((folder_ + L"files\\" + data.cFileName).c_str()))
                freed += (static_cast<DWORDLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            if (callBack && callBack->PurgeProgress(freed, toFree, 0, data.cFileName) == E_ABORT) {
                FindClose(find);
                Log(L"stopped");
                return E_ABORT;
            }
            if (mode_ == L"pause-purge")
                Hold();
        } while (FindNextFileW(find, &data));
        FindClose(find);
        if (callBack)
            callBack->PurgeProgress(freed, toFree, EVCCBF_LASTNOTIFICATION, L"");
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ShowProperties(HWND) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Deactivate(DWORD* flags) override {
        Log(L"Deactivate");
        if (flags)
            *flags = 0;
        return S_OK;
    }

private:
    ~TestHandler() { InterlockedDecrement(&liveObjects); }

    HRESULT Start(HKEY key, LPCWSTR volume, const wchar_t* call, const std::wstring& keyName,
                  LPWSTR* name, LPWSTR* description, DWORD* flags) {
        folder_ = ReadValue(key, L"TestFolder");
        mode_ = ReadValue(key, L"TestMode");
        Log(std::wstring(call) + L" " + (volume ? volume : L"(null)") + L" " + keyName +
            L" thread " + std::to_wstring(GetCurrentThreadId()));
        *name = nullptr;
        *description = nullptr;
        if (mode_ == L"fail-initialize")
            return E_FAIL;
        if (mode_ == L"nothing")
            return S_FALSE;
        if (mode_ != L"nameless") {
            *name = TaskText(L"Brim test handler");
            *description = TaskText(L"Files the Brim tests made");
        }
        if (flags)
            *flags = EVCF_ENABLEBYDEFAULT;
        return S_OK;
    }

    void Log(const std::wstring& line) {
        if (folder_.empty())
            return;
        HANDLE file = CreateFileW((folder_ + L"calls.txt").c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        const std::wstring text = line + L"\r\n";
        const int bytes = WideCharToMultiByte(
            CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                            bytes, nullptr, nullptr);
        DWORD written = 0;
        WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(file);
    }

    // Hangs while the test's hold file exists, at most two minutes.
    void Hold() {
        for (int tick = 0; tick < 6000; ++tick) {
            if (GetFileAttributesW((folder_ + L"hold").c_str()) == INVALID_FILE_ATTRIBUTES)
                return;
            Sleep(20);
        }
    }

    const bool newer_;
    LONG references_ = 1;
    std::wstring folder_;
    std::wstring mode_;
};

class Factory final : public IClassFactory {
public:
    explicit Factory(bool newer) : newer_(newer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One static factory; its references do not keep the DLL.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* handler = new TestHandler(newer_);
        const HRESULT result = handler->QueryInterface(id, object);
        handler->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&serverLocks);
        else
            InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    const bool newer_;
};

Factory factory(true);
Factory oldFactory(false);

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID id, REFIID interfaceId,
                                                    void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualCLSID(id, TestHandlerClass))
        return factory.QueryInterface(interfaceId, object);
    if (IsEqualCLSID(id, OldTestHandlerClass))
        return oldFactory.QueryInterface(interfaceId, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}
