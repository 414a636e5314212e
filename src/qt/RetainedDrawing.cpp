#include "RetainedDrawing.h"

#include <algorithm>
#include <cmath>

namespace lanthor {

void RetainedDrawing::add(Rect extent, std::variant<Fill, Line, Text> command) {
    bounds_ = bounds_ ? unionRect(*bounds_, extent) : extent;
    marks_.push_back({extent, std::move(command)});
}

void RetainedDrawing::fillRect(Rect rect, Color color) {
    add(rect, Fill{rect, color});
}

void RetainedDrawing::strokeLine(Point from, Point to, double width, Color color) {
    // The line's box, widened by half the pen on every side so that its ends are included.
    const double half = width / 2;
    const Rect extent{{std::min(from.x, to.x) - half, std::min(from.y, to.y) - half},
                      {std::abs(to.x - from.x) + width, std::abs(to.y - from.y) + width}};
    add(extent, Line{from, to, width, color});
}

void RetainedDrawing::drawText(const AttributedString& text, Rect rect) {
    add(rect, Text{text, rect});
}

void RetainedDrawing::replay(Painter& painter, Rect area) const {
    for (const Mark& mark : marks_) {
        if (!mark.extent.intersects(area)) {
            continue;
        }
        if (const auto* fill = std::get_if<Fill>(&mark.command)) {
            painter.fillRect(fill->rect, fill->color);
        } else if (const auto* line = std::get_if<Line>(&mark.command)) {
            painter.strokeLine(line->from, line->to, line->width, line->color);
        } else if (const auto* text = std::get_if<Text>(&mark.command)) {
            painter.drawText(text->text, text->rect);
        }
    }
}

} // namespace lanthor
