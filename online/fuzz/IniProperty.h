// brimsweep.ini: whatever the file holds, every address is its compiled-in
// default or a valid address of its kind, checked here by rules of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "online/Endpoints.h"
#include "platform/Text.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// http:// or https://, a host of letters, digits, "-" and "." (no empty
// label), an optional port of 1 to 65535, then nothing or a path, query or
// fragment of printable characters. With `base`, nothing after the port.
inline bool ValidAddress(std::string_view text, bool base) {
    // Schemes compare without regard to case.
    for (std::string_view scheme : {"http://", "https://"})
        if (SameText(text.substr(0, scheme.size()), scheme)) {
            text.remove_prefix(scheme.size());
            size_t end = text.find_first_of(":/?#");
            std::string_view host = text.substr(0, end);
            if (host.empty() || host.front() == '.' || host.back() == '.' ||
                host.find("..") != std::string_view::npos)
                return false;
            for (char c : host)
                if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.'))
                    return false;
            text.remove_prefix(host.size());
            if (!text.empty() && text.front() == ':') {
                text.remove_prefix(1);
                size_t digits = text.find_first_of("/?#");
                std::string_view port = text.substr(0, digits);
                if (port.empty() || port.size() > 5 ||
                    port.find_first_not_of("0123456789") != std::string_view::npos)
                    return false;
                int value = std::stoi(std::string(port));
                if (value < 1 || value > 65535)
                    return false;
                text.remove_prefix(port.size());
            }
            if (base)
                return text.empty();
            if (!text.empty() && text.front() != '/' && text.front() != '?' && text.front() != '#')
                return false;
            for (char c : text)
                if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
                    return false;
            return true;
        }
    return false;
}

inline std::string IniText(FuzzInput& in) {
    static const char* const pieces[] = {"[Endpoints]", "[endpoints]", "[Other]",  "UpdateServer",
                                         "newsserver",  "SupportPage", "HomePage", "PartnerTerms",
                                         "=",           " ",           "\t",       "http://",
                                         "https://",    "HTTP://",     "ftp://",   "host",
                                         "a.b",         "..",          "@",        ":80",
                                         ":0",          ":65536",      ":-1",      "/path",
                                         "?q=1",        "#",           ";",        "\r\n",
                                         "\n",          "\r",          "\x01",     "é",
                                         "[",           "]",           "%20",      "\\"};
    std::string text;
    for (size_t count = in.Below(40); count > 0; --count)
        text += in.Below(5) == 0 ? std::string(1, static_cast<char>(in.Byte())) : in.Pick(pieces);
    return text;
}

inline std::string CheckIniEndpoints(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const Endpoints defaults;
    const Endpoints read = ParseEndpoints(IniText(in));
    struct Field {
        const char* name;
        const std::string& value;
        const std::string& fallback;
        bool base;
    } fields[] = {
        {"UpdateServer", read.UpdateServer, defaults.UpdateServer, true},
        {"NewsServer", read.NewsServer, defaults.NewsServer, true},
        {"SupportPage", read.SupportPage, defaults.SupportPage, false},
        {"HomePage", read.HomePage, defaults.HomePage, false},
        {"PartnerTerms", read.PartnerTerms, defaults.PartnerTerms, false},
    };
    for (const auto& field : fields)
        if (field.value != field.fallback && !ValidAddress(field.value, field.base))
            return std::string(field.name) + " is " + Shown(field.value) +
                   ", neither its default nor a valid address";
    return {};
}

} // namespace bs::fuzz
