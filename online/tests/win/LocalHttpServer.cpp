#include "online/tests/win/LocalHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace bs {

namespace {

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

bool SendAll(SOCKET socket, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        int count = send(socket, data.data() + sent,
                         static_cast<int>(std::min<size_t>(data.size() - sent, 65536)), 0);
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return true;
}

size_t ContentLengthOf(const std::string& head) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    size_t at = lower.find("\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return static_cast<size_t>(std::strtoul(head.c_str() + at + 16, nullptr, 10));
}

} // namespace

LocalHttpServer::LocalHttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0)
        return;
    int size = sizeof address;
    if (getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&LocalHttpServer::Serve, this);
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    WSACleanup();
}

std::string LocalHttpServer::Base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void LocalHttpServer::SetScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
}

std::vector<std::string> LocalHttpServer::Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string LocalHttpServer::LastBody() {
    std::lock_guard lock(mutex_);
    if (requests_.empty())
        return {};
    const std::string& last = requests_.back();
    size_t end = last.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : last.substr(end + 4);
}

uint16_t LocalHttpServer::ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

void LocalHttpServer::Serve() {
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait = {0, 20000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        ++connections_;
        Handle(client);
        closesocket(client);
    }
}

void LocalHttpServer::Handle(SOCKET client) {
    Script script;
    {
        std::lock_guard lock(mutex_);
        script = script_;
    }
    if (script.mode == Mode::CloseAtOnce)
        return;
    DWORD timeout = 200;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    // The request: its head, then as many body bytes as it states.
    std::string request;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    char buffer[4096];
    for (;;) {
        size_t headEnd = request.find("\r\n\r\n");
        if (headEnd != std::string::npos &&
            request.size() >= headEnd + 4 + ContentLengthOf(request.substr(0, headEnd + 2)))
            break;
        if (stop_ || std::chrono::steady_clock::now() > deadline)
            return;
        int count = recv(client, buffer, sizeof buffer, 0);
        if (count == 0)
            return;
        if (count > 0)
            request.append(buffer, static_cast<size_t>(count));
        // A TLS record starts with its type, 22 for a handshake: this
        // server speaks no TLS, so the client is let go at once.
        if (!request.empty() && request[0] == 0x16) {
            ++tlsHandshakes_;
            return;
        }
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    std::string head = "HTTP/1.0 " + std::to_string(script.status) + " Scripted\r\n" +
                       "Content-Type: text/plain\r\n";
    if (script.statesLength && script.mode == Mode::Answer)
        head += "Content-Length: " + std::to_string(script.body.size()) + "\r\n";
    switch (script.mode) {
    case Mode::Answer:
        SendAll(client, head + "\r\n" + script.body);
        break;
    case Mode::Junk: {
        std::string junk(script.junkBytes, '\0');
        for (size_t i = 0; i < junk.size(); ++i)
            junk[i] = static_cast<char>((i * 7919 + 13) % 251);
        SendAll(client, junk);
        break;
    }
    case Mode::BareLineEnds:
        SendAll(client, "HTTP/1.0 200 OK\rContent-Type: text/plain\nContent-Length: 2\r"
                        "X-Odd: a\rb\n\n" +
                            script.body);
        break;
    case Mode::Drip:
        if (!SendAll(client, head + "\r\n"))
            break;
        for (char c : script.body) {
            if (stop_ || send(client, &c, 1, 0) != 1)
                break;
            ++dripped_;
            for (int slept = 0; slept < script.dripIntervalMs && !stop_; slept += 10)
                Sleep(10);
        }
        break;
    case Mode::Silent:
        // Until the client gives up or the test ends.
        while (!stop_ && recv(client, buffer, sizeof buffer, 0) != 0)
            if (WSAGetLastError() != WSAETIMEDOUT && WSAGetLastError() != 0)
                break;
        break;
    case Mode::CloseAtOnce:
        break;
    }
    shutdown(client, SD_SEND);
}

} // namespace bs
