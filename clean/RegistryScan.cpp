// ScanRegistry and its two steps: WalkKey goes down the sub-keys depth first
// through the shared cursor, CheckKeyValues tests the string values of the
// key the cursor has open.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "clean/DeadPath.h"
#include "clean/KeyTime.h"
#include "clean/RegistryFind.h"
#include "clean/ScanPacer.h"
#include "platform/Text.h"

namespace bs {

namespace {

// Windows keeps its own program settings here: the exact key is not read at
// all, and dead values in any key whose path holds this text are not listed.
const char* const ProtectedKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION";

// The upper-cased path as a 32-bit program names it: 64-bit Windows keeps
// that view's keys below a WOW6432Node key (HKLM\Software, the Classes keys
// of the machine and of every user), and the Run, App Paths and Uninstall
// values of 32-bit programs are as much Windows' own as the 64-bit ones.
std::string ProtectedForm(const std::string& path) {
    std::string form;
    bool first = true;
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find('\\', start), path.size());
        std::string segment = UpperAscii(std::string_view(path).substr(start, end - start));
        if (segment != "WOW6432NODE") {
            if (!first)
                form += '\\';
            form += segment;
            first = false;
        }
        start = end + 1;
    }
    return form;
}

class RegistryScan {
public:
    explicit RegistryScan(RegistryScanContext& context)
        : c_(context), pacer_(context.clock, context.ui), probe_(context.files),
          separators_(context.clock.LocaleSeparators()),
          lastShown_(context.clock.TickMilliseconds()) {}

    RegistryFindResult Run();

private:
    bool Stopped() {
        if (c_.ui.StopRequested())
            result_.stopped = true;
        return result_.stopped;
    }
    // False when the whole scan must end: stopped, or a parent that could not
    // be opened again. `subKeys`: how many sub-keys the open key's
    // information counted, when it was read.
    bool WalkKey(std::optional<uint32_t> subKeys);
    // Opens the walked key again by its absolute path; false, with the
    // scan's error set, when it cannot be opened.
    bool ReopenParent(const std::string& parentAbsolute);
    // `info`: what the open key's information told when it was opened.
    void CheckKeyValues(const std::optional<RegKeyInfo>& info);
    std::string KeyTime(const std::optional<RegKeyInfo>& info);
    // Lets the list paint the rows added so far, at most four times a second.
    void ShowRowsIfDue();

    static constexpr uint64_t ShowRowsIntervalMs = 250;

    RegistryScanContext& c_;
    ScanPacer pacer_;
    PathProbe probe_;
    DateTimeSeparators separators_;
    std::string rootName_;
    RegistryFindResult result_;
    uint64_t lastShown_;
    uint64_t showInterval_ = ShowRowsIntervalMs;
};

RegistryFindResult RegistryScan::Run() {
    // A list that paints repaints itself after every new row, some 35 ms
    // under Wine, the cost of reading a thousand values: rows go in with
    // painting suspended and are shown now and then.
    struct UpdateGuard {
        ResultsList& list;
        explicit UpdateGuard(ResultsList& l) : list(l) { list.BeginUpdate(); }
        ~UpdateGuard() { list.EndUpdate(); }
    } guard(c_.list);
    for (const auto& start : c_.starts) {
        if (Stopped())
            break;
        rootName_ = start.rootName;
        // Selecting the root first closes whatever key the cursor held (the
        // registry Delete leaves it on the last key it opened).
        c_.cursor.SelectRoot(start.root);
        // A starting key that is not there holds nothing to list: skip it
        // silently.
        if (!c_.cursor.OpenKey(start.key))
            continue;
        if (!WalkKey(std::nullopt))
            break;
    }
    return result_;
}

bool RegistryScan::WalkKey(std::optional<uint32_t> subKeys) {
    const std::string parent = c_.cursor.CurrentPath();
    const std::string parentAbsolute =
        !parent.empty() && parent.front() == '\\' ? parent : "\\" + parent;
    RegistryKey& key = *c_.cursor.Key();
    std::vector<std::string> names = subKeys ? key.FirstSubKeyNames(*subKeys) : key.SubKeyNames();
    if (names.empty())
        return true;
    // The parent's handle is kept while its children are visited, and the
    // parent is opened again by its absolute path only when it may be gone:
    // when a child does not open, and after the last child. A parent removed
    // meanwhile still ends the scan at once: a key goes only after its
    // sub-keys, so the next child does not open either. Opening the parent
    // again after every child would cost two more round trips to the
    // registry server per key under Wine.
    for (const auto& name : names) {
        if (c_.cursor.OpenChild(name)) {
            // One question tells the sub-key and value counts and the time
            // every dead value of the key shows.
            auto info = c_.cursor.Key()->Info();
            CheckKeyValues(info);
            if (Stopped())
                return false;
            if (info && info->subKeyCount > 0 && !WalkKey(info->subKeyCount))
                return false;
            c_.cursor.ReturnToParent();
        } else if (!ReopenParent(parentAbsolute)) {
            return false;
        }
        // A key that does not open (no rights, removed meanwhile) is skipped
        // with its whole subtree, silently.
        if (Stopped())
            return false;
    }
    return ReopenParent(parentAbsolute);
}

bool RegistryScan::ReopenParent(const std::string& parentAbsolute) {
    if (c_.cursor.OpenKey(parentAbsolute))
        return true;
    result_.error = "Can not open key " + parentAbsolute;
    return false;
}

void RegistryScan::CheckKeyValues(const std::optional<RegKeyInfo>& info) {
    const std::string upperPath = ProtectedForm(c_.cursor.CurrentPath());
    if (upperPath == ProtectedKey)
        return;
    const bool listable = upperPath.find(ProtectedKey) == std::string::npos;
    RegistryKey& key = *c_.cursor.Key();
    for (auto& [name, value] : info ? key.FirstValues(info->valueCount) : key.Values()) {
        if (value.type != RegSz && value.type != RegExpandSz)
            continue;
        // The stop flag is read at every string value, so the walk ends
        // within one value of the pump that raised it. The pump itself is
        // paced: under Wine one costs some 40 microseconds, as much as
        // reading the value, and each pump after a new row repaints the list.
        if (!pacer_.Tick() || Stopped()) {
            result_.stopped = true;
            return;
        }
        // A name holding a NUL is shown, and would be named again by the
        // Delete, only up to it: another value ("Path" for "Path" + NUL +
        // "x", the default value for NUL + "x"). Such a value is never listed.
        if (name.find('\0') != std::string::npos)
            continue;
        std::string data = value.data.substr(0, value.data.find('\0'));
        if (!IsDeadPath(name, probe_) && !IsDeadPath(data, probe_))
            continue;
        if (!listable)
            continue;
        if (c_.keep && c_.keep->KeepsRegistryValue(rootName_, c_.cursor.CurrentPath(), name))
            continue;
        c_.list.AddRow(
            ListRow{rootName_ + ": " + c_.cursor.CurrentPath(), {name, data, KeyTime(info)}, true});
        ++result_.rows;
        ShowRowsIfDue();
    }
}

void RegistryScan::ShowRowsIfDue() {
    uint64_t now = c_.clock.TickMilliseconds();
    if (now - lastShown_ < showInterval_)
        return;
    c_.list.EndUpdate();
    c_.list.Repaint();
    c_.list.BeginUpdate();
    lastShown_ = c_.clock.TickMilliseconds();
    // A list that takes long to paint (20 to 35 ms under Wine) is shown less
    // often, so that painting never takes more than a fortieth of the scan.
    showInterval_ = std::max(ShowRowsIntervalMs, (lastShown_ - now) * 40);
}

// The last-write time of the open key (not of the value), or "-" when the
// key cannot tell it.
std::string RegistryScan::KeyTime(const std::optional<RegKeyInfo>& info) {
    if (!info)
        return "-";
    return FormatKeyTime(info->lastWrite, separators_);
}

} // namespace

RegistryFindResult ScanRegistry(RegistryScanContext& context) {
    return RegistryScan(context).Run();
}

} // namespace bs
