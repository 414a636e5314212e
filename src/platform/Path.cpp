#include "Path.h"

#include <algorithm>

namespace lanthor {

Rect Path::controlBounds() const {
    double minX = start_.x, minY = start_.y, maxX = start_.x, maxY = start_.y;
    const auto take = [&](Point p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (const Segment& segment : segments_) {
        if (segment.curve) {
            take(segment.control1);
            take(segment.control2);
        }
        take(segment.to);
    }
    return {{minX, minY}, {maxX - minX, maxY - minY}};
}

} // namespace lanthor
