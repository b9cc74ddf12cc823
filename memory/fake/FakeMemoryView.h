// A memory page for engine tests: keeps labels and gauges by the gauge rules,
// records every progress position asked for, the alerts and the errors, and
// can act while an error box would be open.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/GaugeRule.h"
#include "memory/MemoryView.h"

namespace bs {

class FakeMemoryView : public MemoryView {
public:
    std::map<MemoryLabel, std::string> labels{{MemoryLabel::Before, "-"},
                                              {MemoryLabel::After, "-"}};
    std::map<MemoryGauge, int> gauges;
    // Every position the refresh asked the progress gauge for, in order.
    std::vector<std::int64_t> progressRequests;
    std::vector<std::string> alerts;
    std::vector<std::string> errors;
    int paints = 0;
    bool alertsOn = false;
    // Runs while an error box is open, as the timer would.
    std::function<void()> whileErrorShown;

    void SetLabel(MemoryLabel label, const std::string& text) override { labels[label] = text; }
    void SetGauge(MemoryGauge gauge, std::int64_t position) override {
        if (gauge == MemoryGauge::Progress)
            progressRequests.push_back(position);
        if (auto next = NextGaugePosition(gauges[gauge], position, 100))
            gauges[gauge] = *next;
    }
    int GaugePosition(MemoryGauge gauge) const override {
        auto found = gauges.find(gauge);
        return found == gauges.end() ? 0 : found->second;
    }
    bool AlertsOn() const override { return alertsOn; }
    void ShowAlert(const std::string& caption) override { alerts.push_back(caption); }
    void ShowError(const std::string& text) override {
        errors.push_back(text);
        if (whileErrorShown)
            whileErrorShown();
    }
    void PaintPending() override { ++paints; }
};

} // namespace bs
