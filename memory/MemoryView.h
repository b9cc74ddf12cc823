// What the memory refresh and the monitor tick drive in the window: the rows
// and gauges of the memory page, the alert pop-up, the refresh's error box
// and the repainting during a long refresh. The window implements it; engine
// tests use memory/fake/FakeMemoryView.h.
#pragma once

#include <cstdint>
#include <string>

namespace bs {

enum class MemoryLabel { Total, Free, Before, After };
// Free, Before and After run from 0 to 100; Progress shows the refresh.
enum class MemoryGauge { Free, Before, After, Progress };

class MemoryView {
public:
    virtual ~MemoryView() = default;
    virtual void SetLabel(MemoryLabel label, const std::string& text) = 0;
    // Takes the position by the gauge rules (core/GaugeRule.h) and paints it
    // at once.
    virtual void SetGauge(MemoryGauge gauge, std::int64_t position) = 0;
    // The position the gauge shows; 0 means no figure has been recorded.
    virtual int GaugePosition(MemoryGauge gauge) const = 0;
    // Whether the user asked for memory alerts.
    virtual bool AlertsOn() const = 0;
    // Shows the free-memory pop-up and returns at once.
    virtual void ShowAlert(const std::string& caption) = 0;
    // Shows an error in a message box and returns when it is closed.
    virtual void ShowError(const std::string& text) = 0;
    // Repaints what is waiting to be painted; takes no input and runs no
    // timer, so that nothing else starts inside a refresh.
    virtual void PaintPending() = 0;
};

} // namespace bs
