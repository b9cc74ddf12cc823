#include "platform/TextFile.h"

namespace bs {

std::optional<std::vector<std::string>> ReadTextLines(FileSystem& files, const std::string& path) {
    auto stream = files.OpenRead(path);
    if (!stream)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    while (size_t read = stream->Read(buffer, sizeof buffer))
        content.append(buffer, read);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace bs
