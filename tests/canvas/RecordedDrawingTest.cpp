#include "canvas/RecordedDrawing.h"

#include "support/GeometryPrinting.h"
#include "support/RecordingPainter.h"

#include <gtest/gtest.h>

namespace lanthor {

namespace {

TEST(RecordedDrawing, KnowsItsExtentAndReplaysInOrder) {
    RecordedDrawing drawing;
    drawing.fillRect({{5, 5}, {0, 0}}, Color::white()); // no area: drawn, but covers nothing
    EXPECT_EQ(drawing.bounds(), std::nullopt);

    // A line reaches half its width to its sides and not past its flat ends.
    drawing.strokeLine({10, 20}, {10, 60}, 2.5, Color::black());
    EXPECT_EQ(drawing.bounds(), (Rect{{8.75, 20}, {2.5, 40}}));
    drawing.drawText(AttributedString(u"x", {Font(u"F", 10)}), {{-30, 0}, {20, 18}});
    EXPECT_EQ(drawing.bounds(), (Rect{{-30, 0}, {41.25, 60}}));

    RecordedDrawing diagonal;
    diagonal.strokeLine({0, 0}, {30, 40}, 10, Color::black());
    EXPECT_EQ(diagonal.bounds(), (Rect{{-4, -3}, {38, 46}}));
    diagonal.strokeLine({50, 50}, {50, 50}, 10, Color::black());
    EXPECT_EQ(diagonal.bounds(), (Rect{{-4, -3}, {38, 46}}));

    test::RecordingPainter painter;
    drawing.replay(painter);
    EXPECT_EQ(painter.operations, (std::vector<std::string>{"fill white", "line black", "text"}));
}

} // namespace

} // namespace lanthor
