#pragma once

#include "Geometry.h"

#include <vector>

namespace lanthor {

/// A figure of straight lines and cubic curves from a start point, open or closed, as the
/// canvas draws roofs and movement arrows.
class Path {
public:
    struct Segment {
        bool curve = false; ///< a cubic curve through the two controls, else a straight line
        Point control1;
        Point control2;
        Point to;
        friend bool operator==(const Segment&, const Segment&) = default;
    };

    explicit Path(Point start) : start_(start) {}
    void lineTo(Point to) { segments_.push_back({false, {}, {}, to}); }
    void curveTo(Point control1, Point control2, Point to) {
        segments_.push_back({true, control1, control2, to});
    }
    /// Joins the last point back to the start.
    void close() { closed_ = true; }

    Point start() const { return start_; }
    const std::vector<Segment>& segments() const { return segments_; }
    bool closed() const { return closed_; }
    /// A rectangle that holds the whole figure: the one around its points and curve controls.
    Rect controlBounds() const;

    friend bool operator==(const Path&, const Path&) = default;

private:
    Point start_;
    std::vector<Segment> segments_;
    bool closed_ = false;
};

} // namespace lanthor
