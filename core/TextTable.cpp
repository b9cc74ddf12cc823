#include "core/TextTable.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "core/TextTableData.h"
#include "platform/Text.h"

namespace bs {

namespace {

using Table = std::unordered_map<int, std::string>;

void ParseBlock(int languageIndex, std::string_view text, Table& table) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        auto id = ParseInteger(line.substr(0, tab));
        if (!id || *id < 0 || *id >= 1000)
            continue;
        table[languageIndex * 1000 + static_cast<int>(*id)] = std::string(line.substr(tab + 1));
    }
}

const Table& BuiltTable() {
    static const Table table = [] {
        Table built;
        for (int i = 0; i < LanguageBlockSourceCount; ++i)
            ParseBlock(LanguageBlockSources[i].languageIndex, LanguageBlockSources[i].text, built);
        return built;
    }();
    return table;
}

} // namespace

const std::string& TableText(int key) {
    static const std::string empty;
    const auto& table = BuiltTable();
    auto found = table.find(key);
    return found == table.end() ? empty : found->second;
}

std::vector<int> TextIdsOf(int languageIndex) {
    std::vector<int> ids;
    for (const auto& [key, text] : BuiltTable())
        if (key / 1000 == languageIndex)
            ids.push_back(key % 1000);
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<int> TranslatedLanguages() {
    std::vector<int> languages;
    for (int i = 0; i < LanguageBlockSourceCount; ++i)
        languages.push_back(LanguageBlockSources[i].languageIndex);
    std::sort(languages.begin(), languages.end());
    languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
    return languages;
}

} // namespace bs
