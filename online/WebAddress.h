// Web addresses as the configuration gives them: http:// or https://, a host
// name or IPv4 address, an optional port, and a path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bs {

struct WebAddress {
    bool secure = false;
    std::string host;
    uint16_t port = 80;
    // From the first "/" on; "/" when the address has no path.
    std::string path = "/";
    bool operator==(const WebAddress&) const = default;
};

// nullopt for any other scheme, an empty or ill-formed host, a port outside
// 1 to 65535, or a blank or control character anywhere.
std::optional<WebAddress> ParseWebAddress(std::string_view text);

// A server's base address: scheme, host and optional port, nothing after
// them but an optional "/". Given back without that "/", so that fixed
// paths can be appended.
std::optional<std::string> NormalizeServerBase(std::string_view text);

} // namespace bs
