// COM for this thread for as long as the scope lasts; a thread that has it
// already (in either apartment model) keeps it as it was.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace bs {

class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // A thread in the other apartment model can still make its calls.
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

} // namespace bs
