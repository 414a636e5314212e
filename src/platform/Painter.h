#pragma once

#include "AttributedString.h"
#include "Color.h"
#include "Geometry.h"
#include "Path.h"

namespace lanthor {

/// The drawing operations of the canvas and its node views, in the canvas's flipped
/// coordinates (points, origin top-left, y growing downwards).
class Painter {
public:
    virtual ~Painter() = default;

    virtual void fillRect(Rect rect, Color color) = 0;
    /// A straight line of `width` points, with flat ends.
    virtual void strokeLine(Point from, Point to, double width, Color color) = 0;
    /// The outline of `path`, `width` points wide, with flat ends and mitred corners.
    virtual void strokePath(const Path& path, double width, Color color) = 0;
    /// The inside of `path`, closed.
    virtual void fillPath(const Path& path, Color color) = 0;
    /// Draws `text` in black with the top-left corner of its first line at `rect`'s origin;
    /// `rect` has the text's measured size. Nothing is clipped or wrapped.
    virtual void drawText(const AttributedString& text, Rect rect) = 0;
};

} // namespace lanthor
