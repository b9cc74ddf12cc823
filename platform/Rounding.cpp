#include "platform/Rounding.h"

#include <cmath>

namespace bs {

int64_t RoundHalfEven(double value) {
    double floor = std::floor(value);
    double fraction = value - floor;
    auto whole = static_cast<int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0))
        return whole + 1;
    return whole;
}

} // namespace bs
