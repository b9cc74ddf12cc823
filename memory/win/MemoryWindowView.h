// The memory view as the main window shows it: the Memory page's rows and
// gauges, alerts owned by the main window, and the refresh's error box.
#pragma once

#include <functional>
#include <string>

#include "core/win/Dpi.h"
#include "memory/MemoryView.h"
#include "memory/win/MemoryPage.h"

namespace bs {

class MemoryWindowView : public MemoryView {
public:
    struct Hooks {
        // The main window, which owns the alerts.
        std::function<HWND()> owner;
        // Whether the alert check box is ticked.
        std::function<bool()> alertsOn;
        // Shows an error box and returns when it is closed.
        std::function<void(const std::string&)> showError;
    };

    MemoryWindowView(MemoryPage& page, Hooks hooks) : page_(page), hooks_(std::move(hooks)) {}

    void SetLabel(MemoryLabel label, const std::string& text) override;
    void SetGauge(MemoryGauge gauge, std::int64_t position) override;
    int GaugePosition(MemoryGauge gauge) const override;
    bool AlertsOn() const override { return hooks_.alertsOn(); }
    void ShowAlert(const std::string& caption) override;
    void ShowError(const std::string& text) override { hooks_.showError(text); }
    void PaintPending() override;

private:
    MemoryPage& page_;
    Hooks hooks_;
};

} // namespace bs
