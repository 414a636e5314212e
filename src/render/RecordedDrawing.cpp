#include "RecordedDrawing.h"

#include <algorithm>

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
    // Flat ends: the line reaches half its width to either side, never past its end points.
    const double reach = width / 2;
    const double minX = std::min(from.x, to.x) - reach;
    const double minY = std::min(from.y, to.y) - reach;
    const Rect extent{
        {minX, minY},
        {std::max(from.x, to.x) + reach - minX, std::max(from.y, to.y) + reach - minY}};
    include(extent);
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
