#include "cleaners/win/HandlerSession.h"

#include <windows.h>

#include <emptyvc.h>
#include <objbase.h>

#include <atomic>
#include <memory>

#include "cleaners/win/HandlerKey.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {
namespace {

// What the handler reports through; it may keep a reference past the call,
// so it counts its own and lives on the heap.
class ProgressCallBack final : public IEmptyVolumeCacheCallBack {
public:
    explicit ProgressCallBack(HandlerLink& link) : link_(link.shared_from_this()) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IEmptyVolumeCacheCallBack)) {
            *object = static_cast<IEmptyVolumeCacheCallBack*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE ScanProgress(DWORDLONG used, DWORD, LPCWSTR status) override {
        link_->Report(used, 0, status ? Narrow(status) : "");
        return link_->StopAsked() ? E_ABORT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE PurgeProgress(DWORDLONG freed, DWORDLONG toFree, DWORD,
                                            LPCWSTR status) override {
        reported_ = true;
        freed_ = freed;
        link_->Report(freed, toFree, status ? Narrow(status) : "");
        return link_->StopAsked() ? E_ABORT : S_OK;
    }

    bool Reported() const { return reported_; }
    uint64_t Freed() const { return freed_; }

private:
    ~ProgressCallBack() = default;
    std::atomic<ULONG> references_{1};
    // Shared: a handler may call back after our session has ended.
    const std::shared_ptr<HandlerLink> link_;
    // Written and read on the worker thread only.
    bool reported_ = false;
    uint64_t freed_ = 0;
};

// A text the handler allocated for us.
class TaskMemText {
public:
    ~TaskMemText() { CoTaskMemFree(text_); }
    LPWSTR* Receive() { return &text_; }
    std::string Utf8() const { return text_ ? Narrow(text_) : ""; }

private:
    LPWSTR text_ = nullptr;
};

bool Fail(HandlerSessionResult& result, CleanupState state, const char* call, HRESULT code) {
    result.state = state;
    result.fault = CleanupFault{call, static_cast<uint32_t>(code)};
    return false;
}

// A handler that answers E_ABORT after our callback asked it to stop was
// stopped; any other error is a failure.
bool Check(HandlerSessionResult& result, HandlerLink& link, const char* call, HRESULT code) {
    if (SUCCEEDED(code))
        return true;
    if (code == E_ABORT && link.StopAsked())
        return Fail(result, CleanupState::Stopped, call, code);
    return Fail(result, CleanupState::Failed, call, code);
}

bool Initialize(IEmptyVolumeCache* cache, HKEY key, const std::wstring& keyName,
                const std::wstring& volume, HandlerLink& link, HandlerSessionResult& result) {
    TaskMemText name;
    TaskMemText description;
    TaskMemText button;
    DWORD flags = 0;
    HRESULT answer;
    const char* call;
    ComPointer<IEmptyVolumeCache2> newer;
    if (SUCCEEDED(cache->QueryInterface(IID_IEmptyVolumeCache2, newer.ReceiveVoid())) &&
        newer.Get()) {
        call = "InitializeEx";
        link.Enter(call);
        answer = newer->InitializeEx(key, volume.c_str(), keyName.c_str(), name.Receive(),
                                     description.Receive(), button.Receive(), &flags);
    } else {
        call = "Initialize";
        link.Enter(call);
        answer =
            cache->Initialize(key, volume.c_str(), name.Receive(), description.Receive(), &flags);
    }
    if (answer == S_FALSE)
        return Fail(result, CleanupState::NothingToClean, call, answer);
    if (!Check(result, link, call, answer))
        return false;
    result.displayName = name.Utf8();
    result.description = description.Utf8();
    result.tickedByDefault = (flags & EVCF_ENABLEBYDEFAULT) != 0;
    result.hideWhenEmpty = (flags & EVCF_DONTSHOWIFZERO) != 0;
    return true;
}

bool MeasureAndPurge(IEmptyVolumeCache* cache, bool purge, HandlerLink& link,
                     HandlerSessionResult& result) {
    ProgressCallBack* callBack = new ProgressCallBack(link);
    DWORDLONG used = 0;
    link.Enter("GetSpaceUsed");
    bool ok = Check(result, link, "GetSpaceUsed", cache->GetSpaceUsed(&used, callBack));
    if (ok) {
        result.bytes = used;
        result.hideWhenEmpty = result.hideWhenEmpty && used == 0;
    }
    if (ok && purge) {
        link.Enter("Purge");
        // The handler frees what its GetSpaceUsed found.
        ok = Check(result, link, "Purge", cache->Purge(used, callBack));
        // A handler that never reported freed, by its own account, all of it.
        result.freed = callBack->Reported() ? callBack->Freed() : (ok ? used : 0);
    }
    callBack->Release();
    return ok;
}

} // namespace

CleanupState CreationState(long result) {
    switch (static_cast<HRESULT>(result)) {
    case REGDB_E_CLASSNOTREG:
    case REGDB_E_READREGDB:
    case CO_E_CLASSSTRING:
        return CleanupState::NotRegistered;
    // Wine answers E_ACCESSDENIED for a DLL it cannot load; Windows for
    // one this user may not read.
    case E_ACCESSDENIED:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL:
    case HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT):
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND):
        return CleanupState::NotLoadable;
    default:
        return CleanupState::Failed;
    }
}

void RunHandlerSession(const std::wstring& keyName, const std::wstring& volume, bool purge,
                       HandlerLink& link, HandlerSessionResult& result) {
    LONG error = ERROR_SUCCESS;
    ScopedKey key = OpenVolumeCacheKey(keyName, error);
    if (!key.Valid()) {
        Fail(result, CleanupState::NotRegistered, "RegOpenKeyEx", HRESULT_FROM_WIN32(error));
        return;
    }
    CLSID id;
    const std::optional<std::wstring> idText = ReadKeyString(key.Get(), L"");
    if (!idText || FAILED(CLSIDFromString(idText->c_str(), &id))) {
        Fail(result, CleanupState::NotRegistered, "CLSIDFromString", CO_E_CLASSSTRING);
        return;
    }
    link.Enter("CoCreateInstance");
    ComPointer<IEmptyVolumeCache> cache;
    const HRESULT created = CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IEmptyVolumeCache, cache.ReceiveVoid());
    if (FAILED(created) || !cache.Get()) {
        Fail(result, CreationState(created), "CoCreateInstance",
             FAILED(created) ? created : E_POINTER);
        return;
    }
    if (!Initialize(cache.Get(), key.Get(), keyName, volume, link, result))
        return;
    MeasureAndPurge(cache.Get(), purge, link, result);
    // Deactivate ends every initialised handler, also one that failed; what
    // it answers changes nothing that has happened, so it is not looked at.
    link.Enter("Deactivate");
    DWORD flags = 0;
    cache->Deactivate(&flags);
}

} // namespace bs
