#include "canvas/LanthorNodeView.h"

#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Views = std::vector<std::shared_ptr<View>>;

TEST(LanthorNodeView, Selection) {
    LanthorNodeView view(Rect{{1, 2}, {3, 0}});
    EXPECT_FALSE(view.nodeSelected());
    EXPECT_EQ(view.backgroundColor(), Color::gray());
    EXPECT_EQ(view.frame(), (Rect{{1, 2}, {3, 0}}));
    view.setDrawsBackground(false); // as the layout does right after creation

    view.selectNode();
    EXPECT_TRUE(view.nodeSelected());
    EXPECT_TRUE(view.drawsBackground());
    view.unselectNode();
    EXPECT_FALSE(view.nodeSelected());
    EXPECT_FALSE(view.drawsBackground());

    // The flag alone leaves the background until the next update.
    view.setNodeSelected(true);
    EXPECT_FALSE(view.drawsBackground());
    view.updateNodeSelection();
    EXPECT_TRUE(view.drawsBackground());
    view.setNodeSelected(false);
    EXPECT_TRUE(view.drawsBackground());
    view.updateNodeSelection();
    EXPECT_FALSE(view.drawsBackground());
}

TEST(LanthorNodeView, DeleteSelfLeavesTheCanvasAndTheNode) {
    auto canvas = std::make_shared<View>();
    auto node = std::make_shared<Tree>(u"0", u"", u"R", u"text");
    auto kept = std::make_shared<LanthorNodeView>(Rect{});
    auto deleted = std::make_shared<LanthorNodeView>(Rect{});
    deleted->setUnderlyingNode(node);
    node->setUiObject(deleted);
    canvas->addSubview(kept);
    canvas->addSubview(deleted);

    deleted->deleteSelf();
    EXPECT_EQ(deleted->superview(), nullptr);
    EXPECT_EQ(deleted->underlyingNode(), nullptr);
    EXPECT_EQ(canvas->subviews(), Views{kept});
    EXPECT_EQ(node->uiObject(), deleted); // the table clears it

    // A view that only the canvas holds survives its own deleteSelf call, then goes.
    std::weak_ptr<LanthorNodeView> onlyOnCanvas;
    {
        auto view = std::make_shared<LanthorNodeView>(Rect{});
        view->setUnderlyingNode(node);
        canvas->addSubview(view);
        onlyOnCanvas = view;
    }
    LanthorNodeView* const raw = onlyOnCanvas.lock().get();
    raw->deleteSelf();
    EXPECT_TRUE(onlyOnCanvas.expired());
    EXPECT_EQ(node.use_count(), 1);
}

TEST(LanthorNodeView, NodeDoesNotKeepItsViewAlive) {
    auto node = std::make_shared<Tree>(u"0", u"", u"R", u"");
    {
        auto view = std::make_shared<LanthorNodeView>(Rect{});
        view->setUnderlyingNode(node);
        node->setUiObject(view);
    }
    EXPECT_EQ(node->uiObject(), nullptr);
}

TEST(View, SubviewsKeepTheirOrderThroughRemovals) {
    auto canvas = std::make_shared<View>();
    Views views;
    for (int i = 0; i < 300; ++i) {
        views.push_back(std::make_shared<View>(Rect{{double(i), 0}, {}}));
        canvas->addSubview(views.back());
    }
    Views expected;
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
    expected.erase(expected.begin());
    expected.pop_back();
    EXPECT_EQ(canvas->subviews(), expected);
    views[0]->removeFromSuperview(); // no superview: nothing happens
    EXPECT_EQ(canvas->subviewCount(), 198u);

    // Removing views while going through the list leaves null entries behind.
    std::size_t seen = 0;
    for (const auto& view : canvas->subviews()) {
        if (view) {
            ++seen;
            view->removeFromSuperview();
        }
    }
    EXPECT_EQ(seen, 198u);
    EXPECT_EQ(canvas->subviews(), Views{});
}

TEST(View, MovingAndDestroying) {
    auto first = std::make_shared<View>();
    auto second = std::make_shared<View>();
    auto child = std::make_shared<View>();
    first->addSubview(child);
    second->addSubview(child); // taken from its previous superview
    EXPECT_EQ(first->subviewCount(), 0u);
    EXPECT_EQ(child->superview(), second.get());
    second->addSubview(child); // again: moves to the end, once
    EXPECT_EQ(second->subviews(), Views{child});
    second.reset();
    EXPECT_EQ(child->superview(), nullptr);
}

} // namespace
} // namespace lanthor
