#pragma once

#include "platform/Painter.h"

#include <optional>
#include <variant>
#include <vector>

namespace lanthor {

/// A painter that keeps what is drawn on it, to learn the drawing's extent before drawing it
/// again on a surface of that size, as an export needs.
class RecordedDrawing final : public Painter {
public:
    void fillRect(Rect rect, Color color) override;
    void strokeLine(Point from, Point to, double width, Color color) override;
    void drawText(const AttributedString& text, Rect rect) override;

    /// The smallest rectangle that holds every mark: fills and text rectangles with some area,
    /// and lines with their width; none when there is no such mark.
    const std::optional<Rect>& bounds() const { return bounds_; }
    /// Draws everything again, in the same order.
    void replay(Painter& painter) const;

private:
    struct Fill {
        Rect rect;
        Color color;
    };
    struct Line {
        Point from;
        Point to;
        double width;
        Color color;
    };
    struct Text {
        AttributedString text;
        Rect rect;
    };
    void include(Rect mark) { bounds_ = bounds_ ? unionRect(*bounds_, mark) : mark; }

    std::vector<std::variant<Fill, Line, Text>> commands_;
    std::optional<Rect> bounds_;
};

} // namespace lanthor
