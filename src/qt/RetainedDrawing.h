#pragma once

#include "platform/Painter.h"

#include <optional>
#include <variant>
#include <vector>

namespace lanthor {

/// What the canvas's last drawing pass drew (its white ground and the edges), kept so that the
/// window can show any part of it again: the canvas draws its edges only in a pass that lays
/// the tree out, as a retained backing store would keep them. Replaying a part costs a
/// rectangle test per mark, so scrolling over a large tree stays cheap.
class RetainedDrawing final : public Painter {
public:
    void fillRect(Rect rect, Color color) override;
    void strokeLine(Point from, Point to, double width, Color color) override;
    void drawText(const AttributedString& text, Rect rect) override;

    /// The smallest rectangle that holds every mark, or none when nothing was drawn.
    const std::optional<Rect>& bounds() const { return bounds_; }
    /// Draws again, in their order, the marks that meet `area`.
    void replay(Painter& painter, Rect area) const;

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
    struct Mark {
        Rect extent;
        std::variant<Fill, Line, Text> command;
    };
    void add(Rect extent, std::variant<Fill, Line, Text> command);

    std::vector<Mark> marks_;
    std::optional<Rect> bounds_;
};

} // namespace lanthor
