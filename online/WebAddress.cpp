#include "online/WebAddress.h"

#include <cctype>

#include "platform/Text.h"

namespace bs {

namespace {

bool HostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
}

// Labels of letters, digits and inner hyphens, joined by single dots.
bool ValidHost(std::string_view host) {
    if (host.empty() || host.size() > 253 || host.front() == '.' || host.back() == '.')
        return false;
    char previous = '.';
    for (char c : host) {
        if (!HostCharacter(c))
            return false;
        if (c == '.' && (previous == '.' || previous == '-'))
            return false;
        if (c == '-' && previous == '.')
            return false;
        previous = c;
    }
    return previous != '-';
}

std::optional<uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

} // namespace

std::optional<WebAddress> ParseWebAddress(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
            return std::nullopt;
    WebAddress address;
    if (StartsWithText(text, "https://")) {
        address.secure = true;
        address.port = 443;
        text.remove_prefix(8);
    } else if (StartsWithText(text, "http://")) {
        text.remove_prefix(7);
    } else {
        return std::nullopt;
    }
    size_t pathStart = text.find_first_of("/?#");
    std::string_view authority = text.substr(0, pathStart);
    if (authority.find('@') != std::string_view::npos)
        return std::nullopt;
    if (size_t colon = authority.find(':'); colon != std::string_view::npos) {
        auto port = ParsePort(authority.substr(colon + 1));
        if (!port)
            return std::nullopt;
        address.port = *port;
        authority = authority.substr(0, colon);
    }
    if (!ValidHost(authority))
        return std::nullopt;
    address.host = std::string(authority);
    if (pathStart != std::string_view::npos) {
        std::string_view rest = text.substr(pathStart);
        // A fragment never goes to the server.
        rest = rest.substr(0, rest.find('#'));
        address.path =
            rest.empty() || rest.front() != '/' ? "/" + std::string(rest) : std::string(rest);
    }
    return address;
}

std::optional<std::string> NormalizeServerBase(std::string_view text) {
    auto address = ParseWebAddress(text);
    if (!address || address->path != "/")
        return std::nullopt;
    std::string_view base = text;
    if (!base.empty() && base.back() == '/')
        base.remove_suffix(1);
    if (base.find_first_of("?#", 8) != std::string_view::npos)
        return std::nullopt;
    return std::string(base);
}

} // namespace bs
