// One HTTP request at a time: the program sends it through WinInet, engine
// tests through a scripted fake. A request and its response may be used on
// any one thread; the client itself may be shared between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace bs {

struct HttpRequest {
    // POST with `body`, else GET without one.
    bool post = false;
    // TLS on the connection (an https address).
    bool secure = false;
    std::string host;
    uint16_t port = 80;
    // From the first "/" on, query included.
    std::string path = "/";
    // User-agent text; empty sends none.
    std::string agent;
    std::string acceptTypes = "*/*";
    std::string referer;
    std::string userName;
    std::string password;
    // The Content-Type of the body; empty sends no such header.
    std::string contentType;
    std::string body;
    // True fetches past every cache, straight from the server.
    bool reload = true;
    // Bound on connecting, sending and each wait for data; 0 keeps the
    // platform's own.
    uint32_t timeoutMs = 0;
};

class HttpResponse {
public:
    virtual ~HttpResponse() = default;
    // The status code, or 0 when the server sent none that could be read.
    virtual int Status() = 0;
    // The length the server stated, nullopt when it stated none.
    virtual std::optional<uint64_t> ContentLength() = 0;
    // Reads at most `capacity` bytes of the body: the count read, 0 at its
    // end, nullopt when the read failed.
    virtual std::optional<size_t> Read(char* buffer, size_t capacity) = 0;
};

class Http {
public:
    virtual ~Http() = default;
    // Connects and sends the request; nullptr when either failed.
    virtual std::unique_ptr<HttpResponse> Send(const HttpRequest& request) = 0;
};

} // namespace bs
