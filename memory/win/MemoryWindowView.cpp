#include "memory/win/MemoryWindowView.h"

#include "core/win/Gauge.h"
#include "core/win/WinText.h"
#include "memory/win/AlertWindow.h"

namespace bs {

namespace {
// Enough for every window of the program; a window that never validates
// itself cannot hold the refresh up for longer.
constexpr int MostPaintsAtOnce = 64;
} // namespace

void MemoryWindowView::SetLabel(MemoryLabel label, const std::string& text) {
    HWND control = page_.LabelOf(label);
    // Unchanged text is not set again: a static control repaints on every
    // set, and the monitor sets its rows every six seconds.
    if (GetText(control) != text)
        SetText(control, text);
}

void MemoryWindowView::SetGauge(MemoryGauge gauge, std::int64_t position) {
    Gauge(page_.GaugeOf(gauge)).SetPosition(position);
}

int MemoryWindowView::GaugePosition(MemoryGauge gauge) const {
    return Gauge(page_.GaugeOf(gauge)).Position();
}

void MemoryWindowView::ShowAlert(const std::string& caption) {
    // An alert that cannot be made is skipped silently: the next one comes
    // twenty ticks later.
    TfrmAlert::Show(hooks_.owner(), caption);
}

void MemoryWindowView::PaintPending() {
    // Paint messages only: no input and no timer, so nothing starts inside
    // the refresh, yet the system sees the window answer and it repaints.
    MSG message;
    for (int paints = 0; paints < MostPaintsAtOnce &&
                         PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT);
         ++paints) {
        if (message.message == WM_QUIT) {
            // Left for the event loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchMessageW(&message);
    }
}

} // namespace bs
