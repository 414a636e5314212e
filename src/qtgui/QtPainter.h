#pragma once

#include "QtFontCache.h"
#include "platform/Painter.h"

class QPainter;

namespace lanthor {

/// Draws on a QPainter whose device has 72 dots per inch, so that one point is one unit.
class QtPainter final : public Painter {
public:
    explicit QtPainter(QPainter& painter) : painter_(painter) {}

    void fillRect(Rect rect, Color color) override;
    void strokeLine(Point from, Point to, double width, Color color) override;
    void strokePath(const Path& path, double width, Color color) override;
    void fillPath(const Path& path, Color color) override;
    void drawText(const AttributedString& text, Rect rect) override;

private:
    QPainter& painter_;
    QtFontCache fonts_;
};

} // namespace lanthor
