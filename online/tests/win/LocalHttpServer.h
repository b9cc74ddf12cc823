// An HTTP server that a test runs in its own process, on 127.0.0.1 and a
// port the system picks. It serves one connection at a time from a script,
// including the ways a hostile server misbehaves, and keeps every request
// exactly as it arrived.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bs {

class LocalHttpServer {
public:
    enum class Mode {
        Answer,       // status line, headers, body
        CloseAtOnce,  // closes the connection as soon as it is accepted
        Junk,         // reads the request, then sends bytes that are no HTTP
        BareLineEnds, // headers ended by lone CR or LF
        Drip,         // headers, then the body a byte at a time
        Silent,       // reads the request and never answers
    };
    struct Script {
        Mode mode = Mode::Answer;
        int status = 200;
        std::string body;
        bool statesLength = true;
        int dripIntervalMs = 1000;
        size_t junkBytes = 1 << 20;
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool Listening() const { return port_ != 0; }
    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string Base() const;
    void SetScript(Script script);
    // Each request as received: head and body bytes.
    std::vector<std::string> Requests();
    // The body of the last request.
    std::string LastBody();
    int Connections() const { return connections_; }
    // Bytes of the dripped body sent so far, over all connections.
    int Dripped() const { return dripped_; }
    // Connections that opened with a TLS handshake instead of a request.
    int TlsHandshakes() const { return tlsHandshakes_; }

    // A port on 127.0.0.1 where nothing listens.
    static uint16_t ClosedPort();

private:
    void Serve();
    void Handle(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> dripped_{0};
    std::atomic<int> tlsHandshakes_{0};
    std::mutex mutex_;
    Script script_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace bs
