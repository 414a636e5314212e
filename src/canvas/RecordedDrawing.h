#pragma once

#include "platform/Painter.h"

#include <optional>
#include <variant>
#include <vector>

namespace lanthor {

/// A painter that keeps what is drawn on it: to learn the drawing's extent before drawing it
/// again on a surface of that size, as an export needs, and to show any part of it again, as a
/// window needs (the canvas draws its edges only in a pass that lays the tree out).
class RecordedDrawing final : public Painter {
public:
    void fillRect(Rect rect, Color color) override;
    void strokeLine(Point from, Point to, double width, Color color) override;
    void strokePath(const Path& path, double width, Color color) override;
    void fillPath(const Path& path, Color color) override;
    void drawText(const AttributedString& text, Rect rect) override;

    /// The smallest rectangle that holds every mark: fills and text rectangles with some area,
    /// and lines of some length with their width; none when there is no such mark.
    const std::optional<Rect>& bounds() const { return bounds_; }
    /// Draws everything again, in the same order.
    void replay(Painter& painter) const;
    /// Draws again, in their order, the marks that meet `area`; a rectangle test per mark, so
    /// showing a small part of a large drawing stays cheap.
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
    struct Outline {
        Path path;
        double width;
        Color color;
    };
    struct Filling {
        Path path;
        Color color;
    };
    struct Text {
        AttributedString text;
        Rect rect;
    };
    using Command = std::variant<Fill, Line, Outline, Filling, Text>;
    /// Keeps `command`, which covers `extent` (none: nothing).
    void add(Command command, std::optional<Rect> extent);
    static void draw(const Command& command, Painter& painter);

    std::vector<Command> commands_;
    std::vector<std::optional<Rect>> extents_; ///< what each command covers

    std::optional<Rect> bounds_;
};

} // namespace lanthor
