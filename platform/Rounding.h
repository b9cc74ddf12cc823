// Rounding shared by the engine's figures and geometry.
#pragma once

#include <cstdint>

namespace bs {

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double value);

} // namespace bs
