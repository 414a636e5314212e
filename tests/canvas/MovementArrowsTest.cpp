#include "canvas/MovementArrows.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Ends = MovementArrows::Ends;

Rect frameAt(double x, double y) {
    return {{x, y}, {20, 18}};
}

TEST(MovementArrows, RunBelowWhatTheyPassAndStackWhereTheyOverlap) {
    // Bottoms: 48 on the first row, 108 on the second; a node at x 100 reaches 170.
    const auto lowestBottom = [](double left, double right) -> std::optional<double> {
        return left <= 110 && 110 <= right ? 170.0 : 108.0;
    };
    const std::vector<Ends> arrows{
        {frameAt(0, 90), frameAt(200, 90)},   // wide, over the deep node: below it
        {frameAt(40, 90), frameAt(60, 30)},   // narrow, inside the wide one
        {frameAt(150, 90), frameAt(400, 90)}, // crosses the first, wider still
        {frameAt(400, 90), frameAt(500, 90)}, // alone
    };
    const std::vector<ArrowRoute> routes = MovementArrows::route(arrows, lowestBottom);
    ASSERT_EQ(routes.size(), 4u);
    EXPECT_EQ(routes[1].runY, 108 + 12 + 8);
    EXPECT_EQ(routes[0].runY, 170 + 12 + 8);
    EXPECT_EQ(routes[2].runY, routes[0].runY + 12); // wider than the first: below it
    EXPECT_EQ(routes[3].runY, 108 + 12 + 8);
    // The curve leaves the source's bottom centre and stops at the head's base; the head's tip
    // is the target's bottom centre.
    EXPECT_EQ(routes[1].curve.start(), (Point{50, 108}));
    EXPECT_EQ(routes[1].curve.segments().back().to, (Point{70, 48 + 7}));
    EXPECT_EQ(routes[1].head.start(), (Point{70, 48}));
    EXPECT_TRUE(routes[1].head.closed());
    EXPECT_EQ(routes[1].curve.controlBounds().maxY(), routes[1].runY);
}

TEST(MovementArrows, SpreadsTheLegsOfAnArrowBetweenEndsAboveEachOther) {
    // A word moved to the node right above it: the legs are two corners apart.
    const std::vector<ArrowRoute> routes = MovementArrows::route(
        {{frameAt(0, 90), frameAt(0, 30)}}, [](double, double) { return std::nullopt; });
    EXPECT_EQ(routes[0].curve.start(), (Point{2, 108}));
    EXPECT_EQ(routes[0].head.start(), (Point{18, 48}));
}

} // namespace
} // namespace lanthor
