#include "platform/View.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Views = std::vector<std::shared_ptr<View>>;

TEST(View, SubviewsKeepTheirOrderThroughRemovalsAndMoves) {
    auto canvas = std::make_shared<View>();
    Views views, expected;
    for (int i = 0; i < 300; ++i) {
        views.push_back(std::make_shared<View>(Rect{{double(i), 0}, {}}));
        canvas->addSubview(views.back());
    }
    for (int i = 0; i < 300; ++i) {
        if (i % 3 == 0) {
            views[i]->removeFromSuperview();
        } else {
            expected.push_back(views[i]);
        }
    }
    EXPECT_EQ(canvas->subviewCount(), 200u);
    EXPECT_EQ(canvas->subviews(), expected);
    // Removals after a compaction still find their places.
    views[1]->removeFromSuperview();
    views[299]->removeFromSuperview();
    views[0]->removeFromSuperview(); // no superview: nothing happens
    expected.erase(expected.begin());
    expected.pop_back();
    EXPECT_EQ(canvas->subviews(), expected);
    // A view added elsewhere, or again, moves to the end, once.
    auto other = std::make_shared<View>();
    other->addSubview(views[2]);
    canvas->addSubview(views[4]);
    EXPECT_EQ(views[2]->superview(), other.get());
    expected.erase(expected.begin(), expected.begin() + 2);
    expected.push_back(views[4]);
    EXPECT_EQ(canvas->subviews(), expected);
    other.reset();
    EXPECT_EQ(views[2]->superview(), nullptr);
    // Removing views while going through the list leaves null entries behind.
    std::size_t seen = 0;
    for (const auto& view : canvas->subviews()) {
        if (view) {
            ++seen;
            view->removeFromSuperview();
        }
    }
    EXPECT_EQ(seen, 197u);
    EXPECT_EQ(canvas->subviews(), Views{});
}

} // namespace
} // namespace lanthor
