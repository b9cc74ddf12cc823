#include "online/win/WinInetOnline.h"

#include <windows.h>

#include <wininet.h>

#include "platform/win32/WinInetHttp.h"

namespace bs {

WinInetOnline::WinInetOnline(FileSystem& files, Clock& clock, const std::string& programDir)
    : endpoints_(ReadEndpoints(files, programDir)), http_(std::make_shared<WinInetHttp>()),
      updateCheck_(files, *http_, clock, programDir, endpoints_.VersionFile()) {}

ConnectionState WinInetOnline::Connection() {
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0))
        return {false, static_cast<uint32_t>(flags)};
    return {true, static_cast<uint32_t>(flags)};
}

bool WinInetOnline::IsOnline() {
    return IsOnlineState(Connection());
}

bool WinInetOnline::CheckForUpdate() {
    return updateCheck_.CheckForUpdate();
}

} // namespace bs
