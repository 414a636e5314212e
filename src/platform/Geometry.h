#pragma once

namespace lanthor {

/// Points, in the canvas's flipped coordinates (origin top-left, y growing downwards).
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool isEmpty() const { return !(size.width > 0 && size.height > 0); }
    /// True when the two rectangles share some area.
    bool intersects(const Rect& other) const {
        return minX() < other.maxX() && other.minX() < maxX() && minY() < other.maxY() &&
               other.minY() < maxY();
    }
};

/// The smallest rectangle that holds both, also where one of them has no area.
inline Rect unionRect(const Rect& a, const Rect& b) {
    const double minX = a.minX() < b.minX() ? a.minX() : b.minX();
    const double minY = a.minY() < b.minY() ? a.minY() : b.minY();
    const double maxX = a.maxX() > b.maxX() ? a.maxX() : b.maxX();
    const double maxY = a.maxY() > b.maxY() ? a.maxY() : b.maxY();
    return {{minX, minY}, {maxX - minX, maxY - minY}};
}

} // namespace lanthor
