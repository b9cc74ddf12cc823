#include "online/Endpoints.h"

#include <optional>

#include "online/WebAddress.h"
#include "platform/Text.h"

namespace bs {

namespace {

// The settings file is a few lines; anything bigger is not ours.
constexpr int64_t MaxIniSize = 64 * 1024;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

void SetIfValid(std::string& target, std::optional<std::string> value) {
    if (value)
        target = std::move(*value);
}

std::optional<std::string> WholeAddress(std::string_view text) {
    if (!ParseWebAddress(text))
        return std::nullopt;
    return std::string(text);
}

} // namespace

Endpoints ParseEndpoints(std::string_view text) {
    Endpoints endpoints;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    bool inSection = false;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inSection =
                line.back() == ']' && SameText(Trim(line.substr(1, line.size() - 2)), "Endpoints");
            continue;
        }
        size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (SameText(key, "UpdateServer"))
            SetIfValid(endpoints.UpdateServer, NormalizeServerBase(value));
        else if (SameText(key, "NewsServer"))
            SetIfValid(endpoints.NewsServer, NormalizeServerBase(value));
        else if (SameText(key, "SupportPage"))
            SetIfValid(endpoints.SupportPage, WholeAddress(value));
        else if (SameText(key, "HomePage"))
            SetIfValid(endpoints.HomePage, WholeAddress(value));
        else if (SameText(key, "PartnerTerms"))
            SetIfValid(endpoints.PartnerTerms, WholeAddress(value));
    }
    return endpoints;
}

Endpoints ReadEndpoints(FileSystem& files, const std::string& programDir) {
    auto stream = files.OpenRead(programDir + "brimsweep.ini");
    if (!stream || stream->Size() > MaxIniSize)
        return Endpoints{};
    std::string text(static_cast<size_t>(stream->Size()), '\0');
    size_t read = text.empty() ? 0 : stream->Read(text.data(), text.size());
    text.resize(read);
    return ParseEndpoints(text);
}

} // namespace bs
