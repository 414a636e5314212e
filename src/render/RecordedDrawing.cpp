#include "RecordedDrawing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace lanthor {

namespace {

template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };

} // namespace

void RecordedDrawing::fillRect(Rect rect, Color color) {
    commands_.push_back(Fill{rect, color});
    if (!rect.isEmpty()) {
        include(rect);
    }
}

void RecordedDrawing::strokeLine(Point from, Point to, double width, Color color) {
    commands_.push_back(Line{from, to, width, color});
    // With flat ends the line covers a rectangle: half its width to either side, not past its
    // end points. A line of no length covers nothing.
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (!(length > 0)) {
        return;
    }
    const double sideX = -(to.y - from.y) / length * width / 2;
    const double sideY = (to.x - from.x) / length * width / 2;
    const double xs[] = {from.x + sideX, from.x - sideX, to.x + sideX, to.x - sideX};
    const double ys[] = {from.y + sideY, from.y - sideY, to.y + sideY, to.y - sideY};
    const auto [minX, maxX] = std::minmax_element(std::begin(xs), std::end(xs));
    const auto [minY, maxY] = std::minmax_element(std::begin(ys), std::end(ys));
    include({{*minX, *minY}, {*maxX - *minX, *maxY - *minY}});
}

void RecordedDrawing::drawText(const AttributedString& text, Rect rect) {
    commands_.push_back(Text{text, rect});
    if (!rect.isEmpty()) {
        include(rect);
    }
}

void RecordedDrawing::replay(Painter& painter) const {
    for (const auto& command : commands_) {
        std::visit(Overloaded{
                       [&](const Fill& fill) { painter.fillRect(fill.rect, fill.color); },
                       [&](const Line& line) {
                           painter.strokeLine(line.from, line.to, line.width, line.color);
                       },
                       [&](const Text& text) { painter.drawText(text.text, text.rect); },
                   },
                   command);
    }
}

} // namespace lanthor
