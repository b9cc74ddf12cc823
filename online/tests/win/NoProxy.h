// Requests in these tests go straight to 127.0.0.1: a proxy named in the
// environment would carry them elsewhere.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace bs {

inline void DropProxySettings() {
    for (const wchar_t* name :
         {L"http_proxy", L"HTTP_PROXY", L"https_proxy", L"HTTPS_PROXY", L"all_proxy"}) {
        SetEnvironmentVariableW(name, nullptr);
        _wputenv_s(name, L"");
    }
}

} // namespace bs
