#include "canvas/LanthorNodeView.h"

#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

TEST(LanthorNodeView, ShowsItsBackgroundWhileSelectedAndLeavesTheCanvasWhenDeleted) {
    auto canvas = std::make_shared<View>();
    auto node = std::make_shared<Tree>(u"0", u"", u"R", u"text");
    auto view = std::make_shared<LanthorNodeView>(Rect{});
    view->setDrawsBackground(false); // as the layout does right after creation
    view->selectNode();
    EXPECT_TRUE(view->nodeSelected() && view->drawsBackground());
    view->unselectNode();
    EXPECT_FALSE(view->nodeSelected() || view->drawsBackground());
    view->setNodeSelected(true); // the flag alone: the background follows at the next update
    EXPECT_FALSE(view->drawsBackground());
    view->updateNodeSelection();
    EXPECT_TRUE(view->drawsBackground());

    view->setUnderlyingNode(node);
    node->setUiObject(view);
    canvas->addSubview(view);
    view->deleteSelf();
    EXPECT_EQ(view->superview(), nullptr);
    EXPECT_EQ(view->underlyingNode(), nullptr);
    EXPECT_EQ(canvas->subviewCount(), 0u);
    EXPECT_EQ(node->uiObject(), view); // the table clears it
    view.reset();
    EXPECT_EQ(node->uiObject(), nullptr); // the node does not keep its view alive
    // A view that only the canvas holds survives its own deleteSelf call, then goes.
    std::weak_ptr<LanthorNodeView> onlyOnCanvas;
    {
        auto held = std::make_shared<LanthorNodeView>(Rect{});
        held->setUnderlyingNode(node);
        canvas->addSubview(held);
        onlyOnCanvas = held;
    }
    LanthorNodeView* const raw = onlyOnCanvas.lock().get(); // no reference held during the call
    raw->deleteSelf();
    EXPECT_TRUE(onlyOnCanvas.expired());
    EXPECT_EQ(node.use_count(), 1);
}

} // namespace
} // namespace lanthor
