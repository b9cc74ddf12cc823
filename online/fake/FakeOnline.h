// Scripted online services for window tests: counts the update checks.
#pragma once

#include <optional>

#include "online/OnlineServices.h"

namespace bs {

class FakeOnline : public OnlineServices {
public:
    bool online = false;
    bool updateDue = false;
    int checks = 0;
    // What the connection query reports; by default a modem when `online`.
    std::optional<ConnectionState> connection;
    Endpoints endpoints;
    std::shared_ptr<Http> web = std::make_shared<NoHttp>();

    bool IsOnline() override { return online; }
    bool CheckForUpdate() override {
        ++checks;
        return updateDue;
    }
    ConnectionState Connection() override {
        if (connection)
            return *connection;
        return online ? ConnectionState{true, ConnectionModem} : ConnectionState{};
    }
    const Endpoints& Addresses() override { return endpoints; }
    std::shared_ptr<Http> Web() override { return web; }
};

} // namespace bs
