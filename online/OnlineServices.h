// What the main window asks of the online services: the connection test and
// the update check that the memory monitor runs on its update tick, and
// what the information view and the offers dialog need.
#pragma once

#include <memory>

#include "online/ConnectionState.h"
#include "online/Endpoints.h"
#include "platform/Http.h"

namespace bs {

// An HTTP client that never connects.
class NoHttp : public Http {
public:
    std::unique_ptr<HttpResponse> Send(const HttpRequest&) override { return nullptr; }
};

class OnlineServices {
public:
    virtual ~OnlineServices() = default;
    // Connected by modem or through a proxy; the local network alone, or a
    // failing query, is not online.
    virtual bool IsOnline() = 0;
    // True when the server's version text differs from the one kept locally.
    virtual bool CheckForUpdate() = 0;
    // What the platform's connection query reports; by default no connection.
    virtual ConnectionState Connection() { return {}; }
    // The configured addresses; by default the compiled-in ones.
    virtual const Endpoints& Addresses() {
        static const Endpoints defaults;
        return defaults;
    }
    // The HTTP client requests go through, shared with fetch workers; by
    // default one that never connects.
    virtual std::shared_ptr<Http> Web() { return std::make_shared<NoHttp>(); }
};

// Never online, never an update, no requests.
class OfflineServices : public OnlineServices {
public:
    bool IsOnline() override { return false; }
    bool CheckForUpdate() override { return false; }
};

} // namespace bs
