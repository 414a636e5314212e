#pragma once

#include "QtFontCache.h"
#include "platform/Painter.h"

#include <functional>
#include <string>
#include <string_view>

namespace lanthor {

/// Writes what is drawn as an SVG document while it is drawn, handing the text to `sink` in
/// pieces of about 1 MiB: memory stays small however large the drawing. Text is laid out as the
/// window lays it out, one <text> element per run of one face.
class SvgStreamPainter final : public Painter {
public:
    using Sink = std::function<void(std::string_view)>;

    /// Starts the document: `width` x `height` points, showing the drawing's area from
    /// (`left`, `top`), on white.
    SvgStreamPainter(Sink sink, double left, double top, double width, double height);
    /// Ends the document and hands over what is left.
    void finish();

    void fillRect(Rect rect, Color color) override;
    void strokeLine(Point from, Point to, double width, Color color) override;
    void strokePath(const Path& path, double width, Color color) override;
    void fillPath(const Path& path, Color color) override;
    void drawText(const AttributedString& text, Rect rect) override;

private:
    void flushIfFull();

    Sink sink_;
    std::string buffer_;
    QtFontCache fonts_;
};

} // namespace lanthor
