// What the platform's connection query reports, and what the online
// features make of it.
#pragma once

#include <cstdint>

namespace bs {

// The query's flag bits that count.
enum ConnectionFlag : uint32_t {
    ConnectionModem = 1,
    ConnectionLan = 2,
    ConnectionProxy = 4,
};

struct ConnectionState {
    // False when the query reported no connection or failed.
    bool connected = false;
    uint32_t flags = 0;
};

// Online means by modem or through a proxy; the local network alone is not.
bool IsOnlineState(const ConnectionState& state);

enum class SupportPageStep {
    // Not connected: say so, with the page's address.
    ShowMessage,
    OpenPage,
    // Connected only through the local network.
    Nothing,
};
SupportPageStep SupportPageStepFor(const ConnectionState& state);

} // namespace bs
