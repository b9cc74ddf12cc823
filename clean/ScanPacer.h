// Keeps the window alive during a long walk without letting the window's
// costs swamp the walk. Setting the status line with a repaint costs about a
// millisecond and an event pump tens of microseconds, against some twenty
// microseconds per directory entry, so the status line, the pump and the
// progress bar are served at most every few tens of milliseconds. The stop flag is cheap and
// is read at every entry.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/UiPort.h"

namespace bs {

class ScanPacer {
public:
    static constexpr uint64_t StatusIntervalMs = 50;
    static constexpr uint64_t PumpIntervalMs = 40;

    ScanPacer(Clock& clock, UiPort& ui);

    // At every directory entry: shows `name` and pumps when due. False when
    // the stop flag is set, so the walk must end.
    bool Visit(const std::string& name);
    // At every item of a loop without a status text: pumps when due. False
    // when the stop flag is set.
    bool Tick();
    // Moves the progress bar to `position` when due. A step with a repaint
    // costs about as much as a status update, far more than a row.
    void ProgressTo(int position);
    bool StopRequested() const { return ui_.StopRequested(); }
    UiPort& Ui() { return ui_; }

private:
    void PumpIfDue(uint64_t now);

    Clock& clock_;
    UiPort& ui_;
    bool statusShown_ = false;
    uint64_t lastStatus_ = 0;
    uint64_t lastPump_;
    uint64_t lastProgress_;
};

} // namespace bs
