#pragma once

#include "platform/Painter.h"

#include <string>
#include <vector>

namespace lanthor::test {

/// Writes down what is drawn, one readable line per operation.
class RecordingPainter final : public Painter {
public:
    struct Stroke {
        Point from;
        Point to;
        double width;
    };

    void fillRect(Rect rect, Color color) override {
        fills.push_back(rect);
        operations.push_back(color == Color::white() ? "fill white" : "fill other");
    }
    void strokeLine(Point from, Point to, double width, Color color) override {
        strokes.push_back({from, to, width});
        operations.push_back(color == Color::black() ? "line black" : "line other");
    }
    void strokePath(const Path& path, double width, Color color) override {
        paths.push_back({path, width});
        operations.push_back(color == Color::black() ? "path black" : "path other");
    }
    void fillPath(const Path& path, Color color) override {
        paths.push_back({path, 0});
        operations.push_back(color == Color::black() ? "fill path black" : "fill path other");
    }
    void drawText(const AttributedString& text, Rect rect) override {
        texts.push_back(text.string());
        textRects.push_back(rect);
        operations.push_back("text");
    }

    std::vector<Rect> fills;
    std::vector<Stroke> strokes;
    struct PathMark {
        Path path;
        double width; ///< 0 for a filled path
    };
    std::vector<PathMark> paths;
    std::vector<std::u16string> texts;
    std::vector<Rect> textRects;
    std::vector<std::string> operations;
};

} // namespace lanthor::test
