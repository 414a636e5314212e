#include "platform/View.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Views = std::vector<std::shared_ptr<View>>;

TEST(View, SubviewsKeepTheirOrderThroughRemovalsAndMoves) {
    auto canvas = std::make_shared<View>();
    Views views, expected;
    for (int i = 0; i < 300; ++i) {
        views.push_back(std::make_shared<View>());
        canvas->addSubview(views.back());
        if (i % 3 == 0) {
            views.back()->removeFromSuperview();
        } else if (i != 1 && i != 2) { // removed below
            expected.push_back(views.back());
        }
    }
    EXPECT_EQ(canvas->subviews().size(), 200u); // compacted
    views[1]->removeFromSuperview(); // after a compaction, removals still find their places
    views[2]->removeFromSuperview();
    canvas->addSubview(views[4]); // added again: moves to the end, once
    std::erase(expected, views[4]);
    expected.push_back(views[4]);
    EXPECT_EQ(canvas->subviews(), expected);
    std::size_t seen = 0; // removing views while going through the list leaves null entries
    for (const auto& view : canvas->subviews()) {
        if (view) {
            ++seen;
            view->removeFromSuperview();
        }
    }
    EXPECT_EQ(seen, 198u);
    EXPECT_EQ(canvas->subviews(), Views{});
}

} // namespace
} // namespace lanthor
