#include "cleaners/CleanupStatus.h"

namespace bs {

CleanupStatusLine::CleanupStatusLine(UiPort& ui, std::string heading, CleanupNamer nameOf)
    : ui_(ui), heading_(std::move(heading)), nameOf_(std::move(nameOf)) {}

void CleanupStatusLine::Begin(size_t index, size_t count, const std::string& key) {
    ui_.SetProgressMax(static_cast<int>(count));
    ui_.SetProgressPosition(static_cast<int>(index));
    line_ = heading_ + " " + nameOf_(key) + " (" + std::to_string(index + 1) + "/" +
            std::to_string(count) + ")";
    ui_.SetStatus(line_);
}

void CleanupStatusLine::Bytes(uint64_t done, uint64_t total, const std::string&) {
    // The handler's own status text is left out: it is in the system's
    // language, not the window's, and often as long as the line.
    std::string text = line_ + "  " + CleanupKiloBytes(done);
    if (total > 0)
        text += " / " + CleanupKiloBytes(total);
    ui_.SetStatus(text);
}

void CleanupStatusLine::Pump() {
    ui_.PumpEvents();
}

bool CleanupStatusLine::StopRequested() {
    return ui_.StopRequested();
}

} // namespace bs
