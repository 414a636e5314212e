#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace lanthor {

// The layout computes in 32-bit signed integers. These helpers give that arithmetic defined
// results where plain C++ would not: sums wrap around as the machine's 32-bit adds do, and
// conversions from double truncate toward zero, saturating outside the range.

inline std::int32_t wrapToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}

inline std::int32_t truncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace lanthor
