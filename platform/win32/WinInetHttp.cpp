#include "platform/win32/WinInetHttp.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>

#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { InternetCloseHandle(h); }
};
using ScopedInternet = ScopedHandle<InternetHandleTraits>;

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

void SetTimeouts(HINTERNET handle, uint32_t milliseconds) {
    if (milliseconds == 0)
        return;
    DWORD value = milliseconds;
    // An option the session does not take leaves the platform's own
    // time-out, which still bounds the wait: skipped silently.
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &value, sizeof value);
}

// Closed in the order request, connection, session: members are destroyed
// in reverse order of declaration.
class WinInetResponse : public HttpResponse {
public:
    ScopedInternet session;
    ScopedInternet connection;
    ScopedInternet request;

    int Status() override {
        DWORD status = 0, size = sizeof status;
        if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr))
            return 0;
        return static_cast<int>(status);
    }

    std::optional<uint64_t> ContentLength() override {
        wchar_t text[512] = {};
        DWORD size = sizeof text - sizeof text[0];
        if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
            return std::nullopt;
        uint64_t length = 0;
        int digits = 0;
        for (const wchar_t* c = text; *c; ++c) {
            if (*c < L'0' || *c > L'9' || ++digits > 18)
                return std::nullopt;
            length = length * 10 + static_cast<uint64_t>(*c - L'0');
        }
        if (digits == 0)
            return std::nullopt;
        return length;
    }

    // A read takes what has arrived: asked for more, InternetReadFile would
    // wait until the whole count had come, and a slow server would be heard
    // only at its end.
    std::optional<size_t> Read(char* buffer, size_t capacity) override {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0))
            return std::nullopt;
        if (available == 0)
            return 0;
        DWORD read = 0;
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity, available));
        if (!InternetReadFile(request.Get(), buffer, wanted, &read))
            return std::nullopt;
        return static_cast<size_t>(read);
    }
};

} // namespace

std::unique_ptr<HttpResponse> WinInetHttp::Send(const HttpRequest& request) {
    auto response = std::make_unique<WinInetResponse>();
    std::wstring agent = Widen(request.agent);
    response->session.Reset(
        InternetOpenW(OrNull(agent), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!response->session.Valid())
        return nullptr;
    SetTimeouts(response->session.Get(), request.timeoutMs);

    std::wstring host = Widen(request.host), user = Widen(request.userName),
                 password = Widen(request.password);
    response->connection.Reset(InternetConnectW(response->session.Get(), host.c_str(), request.port,
                                                OrNull(user), OrNull(password),
                                                INTERNET_SERVICE_HTTP, 0, 0));
    if (!response->connection.Valid())
        return nullptr;

    std::wstring path = Widen(request.path), referer = Widen(request.referer),
                 accept = Widen(request.acceptTypes);
    const wchar_t* acceptTypes[] = {accept.c_str(), nullptr};
    // No cookie goes out and none is kept; nothing may ask the user.
    DWORD flags = INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (request.reload)
        flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    if (request.secure)
        flags |= INTERNET_FLAG_SECURE;
    response->request.Reset(HttpOpenRequestW(
        response->connection.Get(), request.post ? L"POST" : L"GET", path.c_str(), L"HTTP/1.0",
        OrNull(referer), accept.empty() ? nullptr : acceptTypes, flags, 0));
    if (!response->request.Valid())
        return nullptr;
    // Set on the request as well: not every WinInet hands the session's on.
    SetTimeouts(response->request.Get(), request.timeoutMs);

    std::wstring headers;
    if (!request.contentType.empty())
        headers = L"Content-Type: " + Widen(request.contentType) + L"\r\n";
    std::string body = request.body;
    if (!HttpSendRequestW(response->request.Get(), OrNull(headers),
                          static_cast<DWORD>(headers.size()), body.empty() ? nullptr : body.data(),
                          static_cast<DWORD>(body.size())))
        return nullptr;
    return response;
}

} // namespace bs
