#include "cleaners/CleanupItems.h"

#include "cleaners/CleanupTexts.h"
#include "platform/Text.h"

namespace bs {
namespace {

const std::string IdPrefix = "cleanup:";

bool KeptAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string CleanupItemId(const std::string& key) {
    static const char digits[] = "0123456789ABCDEF";
    std::string id = IdPrefix;
    for (unsigned char c : key) {
        if (KeptAsIs(c)) {
            id += static_cast<char>(c);
            continue;
        }
        id += '_';
        id += digits[c >> 4];
        id += digits[c & 0xF];
    }
    return id;
}

std::optional<std::string> CleanupKeyOf(const std::string& id) {
    if (id.size() <= IdPrefix.size() || id.compare(0, IdPrefix.size(), IdPrefix) != 0)
        return std::nullopt;
    std::string key;
    for (size_t at = IdPrefix.size(); at < id.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(id[at]);
        if (KeptAsIs(c)) {
            key += static_cast<char>(c);
            continue;
        }
        // Only the escapes CleanupItemId writes: anything else is no
        // handler's id, whatever cleaners.ini says, so one key has one id.
        if (c != '_' || at + 2 >= id.size())
            return std::nullopt;
        const int high = HexValue(id[at + 1]), low = HexValue(id[at + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        const int value = high * 16 + low;
        if (value == 0 || KeptAsIs(static_cast<unsigned char>(value)))
            return std::nullopt;
        key += static_cast<char>(value);
        at += 2;
    }
    return key;
}

std::vector<std::string> TickedCleanupKeys(const std::set<std::string>& ticked) {
    std::vector<std::string> keys;
    for (const std::string& id : ticked)
        if (auto key = CleanupKeyOf(id))
            keys.push_back(*key);
    return keys;
}

const CleanupHandlerScan* FindCleanupScan(const CleanupHandlerList& list, const std::string& key) {
    for (const CleanupHandlerScan& scan : list.handlers)
        if (scan.key == key)
            return &scan;
    for (const CleanupHandlerScan& scan : list.handlers)
        if (SameText(scan.key, key))
            return &scan;
    return nullptr;
}

CleanupItems CleanupTreeItems(const CleanupHandlerList& list, bool elevated,
                              const LocalTexts& texts) {
    CleanupItems result;
    for (const CleanupHandlerScan& scan : list.handlers) {
        if (scan.state == CleanupState::NothingToClean ||
            (scan.state == CleanupState::Ok && scan.hideWhenEmpty && scan.bytes == 0))
            continue;
        CleanerTreeItem item;
        item.id = CleanupItemId(scan.key);
        item.name = scan.displayName.empty() ? scan.key : scan.displayName;
        item.description = scan.description;
        if (scan.state == CleanupState::Ok) {
            result.bytes[item.id] = scan.bytes;
            item.locked = !elevated;
        } else {
            item.locked = true;
            item.reason = CleanupStateText(scan.state, scan.fault, texts);
        }
        result.items.push_back(std::move(item));
    }
    return result;
}

} // namespace bs
