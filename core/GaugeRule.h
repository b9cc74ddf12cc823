// How a gauge takes a new position: shared by the gauge control and by the
// fakes that stand in for it, so that both keep the same rules.
#pragma once

#include <cstdint>
#include <optional>

namespace bs {

// The position a gauge showing `shown` moves to when asked for `requested`,
// or nullopt when it stays as it is: a negative position is ignored, the
// position already shown needs no repaint, and a position above the maximum
// is shown as the maximum.
inline std::optional<int> NextGaugePosition(int shown, std::int64_t requested, int maximum) {
    if (requested < 0)
        return std::nullopt;
    int next = requested > maximum ? maximum : static_cast<int>(requested);
    if (next == shown)
        return std::nullopt;
    return next;
}

} // namespace bs
