#pragma once

#include "platform/Geometry.h"
#include "platform/Path.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace lanthor {

/// The path of one movement arrow: the curve from the source down below the rows it passes and
/// up to the target, and the arrowhead that ends it at the target's bottom.
struct ArrowRoute {
    Path curve;
    Path head;
    double runY = 0; ///< where the curve runs across
};

/// Routes movement arrows between node frames. An arrow leaves the bottom centre of its source,
/// runs across below the lowest node bottom between its two ends, and comes up to the bottom
/// centre of its target, where a filled head points at it. Arrows whose spans overlap run at
/// different heights, the narrower above the wider, so that no two runs share a height where
/// they meet.
class MovementArrows {
public:
    static constexpr double kGap = 12; ///< below the lowest bottom, and between runs
    static constexpr double kCornerRadius = 8;
    static constexpr double kHeadLength = 7;
    static constexpr double kHeadHalfWidth = 3.5;
    static constexpr double kLineWidth = 1;

    struct Ends {
        Rect source;
        Rect target;
    };
    /// The lowest node bottom whose frame meets the columns from `left` to `right`, or none
    /// (then the ends' own bottoms count alone).
    using LowestBottom = std::function<std::optional<double>(double left, double right)>;

    /// One route per arrow, in the order given.
    static std::vector<ArrowRoute> route(const std::vector<Ends>& arrows,
                                         const LowestBottom& lowestBottom);
};

} // namespace lanthor
