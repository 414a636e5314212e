#include "RecordedDrawing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace lanthor {

namespace {

template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
// Spelled out for compilers without deduction for aggregates.
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace

void RecordedDrawing::add(Command command, std::optional<Rect> extent) {
    commands_.push_back(std::move(command));
    extents_.push_back(extent);
    if (extent) {
        bounds_ = bounds_ ? unionRect(*bounds_, *extent) : *extent;
    }
}

void RecordedDrawing::fillRect(Rect rect, Color color) {
    add(Fill{rect, color}, rect.isEmpty() ? std::nullopt : std::optional(rect));
}

void RecordedDrawing::strokeLine(Point from, Point to, double width, Color color) {
    // With flat ends the line covers a rectangle: half its width to either side, not past its
    // end points. A line of no length covers nothing.
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (!(length > 0)) {
        add(Line{from, to, width, color}, std::nullopt);
        return;
    }
    const double sideX = -(to.y - from.y) / length * width / 2;
    const double sideY = (to.x - from.x) / length * width / 2;
    const double xs[] = {from.x + sideX, from.x - sideX, to.x + sideX, to.x - sideX};
    const double ys[] = {from.y + sideY, from.y - sideY, to.y + sideY, to.y - sideY};
    const auto [minX, maxX] = std::minmax_element(std::begin(xs), std::end(xs));
    const auto [minY, maxY] = std::minmax_element(std::begin(ys), std::end(ys));
    add(Line{from, to, width, color}, Rect{{*minX, *minY}, {*maxX - *minX, *maxY - *minY}});
}

void RecordedDrawing::strokePath(const Path& path, double width, Color color) {
    // The controls hold the curves; the stroke reaches half its width past them, and a mitred
    // corner may reach further: a width each way is room enough for the canvas's corners.
    const Rect hull = path.controlBounds();
    const Rect extent{{hull.minX() - width, hull.minY() - width},
                      {hull.size.width + 2 * width, hull.size.height + 2 * width}};
    add(Outline{path, width, color},
        path.segments().empty() ? std::nullopt : std::optional(extent));
}

void RecordedDrawing::fillPath(const Path& path, Color color) {
    const Rect hull = path.controlBounds();
    add(Filling{path, color}, hull.isEmpty() ? std::nullopt : std::optional(hull));
}

void RecordedDrawing::drawText(const AttributedString& text, Rect rect) {
    add(Text{text, rect}, rect.isEmpty() ? std::nullopt : std::optional(rect));
}

void RecordedDrawing::draw(const Command& command, Painter& painter) {
    std::visit(Overloaded{
                   [&](const Fill& fill) { painter.fillRect(fill.rect, fill.color); },
                   [&](const Line& line) {
                       painter.strokeLine(line.from, line.to, line.width, line.color);
                   },
                   [&](const Outline& outline) {
                       painter.strokePath(outline.path, outline.width, outline.color);
                   },
                   [&](const Filling& filling) { painter.fillPath(filling.path, filling.color); },
                   [&](const Text& text) { painter.drawText(text.text, text.rect); },
               },
               command);
}

void RecordedDrawing::replay(Painter& painter) const {
    for (const Command& command : commands_) {
        draw(command, painter);
    }
}

void RecordedDrawing::replay(Painter& painter, Rect area) const {
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        if (extents_[i] && extents_[i]->intersects(area)) {
            draw(commands_[i], painter);
        }
    }
}

} // namespace lanthor
