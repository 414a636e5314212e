#include "canvas/LanthorNodeView.h"

#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

TEST(LanthorNodeView, ShowsItsBackgroundExactlyWhileSelected) {
    LanthorNodeView view(Rect{{1, 2}, {3, 0}});
    EXPECT_EQ(view.backgroundColor(), Color::gray());
    view.setDrawsBackground(false); // as the layout does right after creation
    view.selectNode();
    EXPECT_TRUE(view.nodeSelected() && view.drawsBackground());
    view.unselectNode();
    EXPECT_FALSE(view.nodeSelected() || view.drawsBackground());
    // The flag alone leaves the background until the next update.
    view.setNodeSelected(true);
    EXPECT_FALSE(view.drawsBackground());
    view.updateNodeSelection();
    EXPECT_TRUE(view.drawsBackground());
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
    EXPECT_EQ(canvas->subviews(), std::vector<std::shared_ptr<View>>{kept});
    EXPECT_EQ(node->uiObject(), deleted); // the table clears it
    deleted.reset();
    EXPECT_EQ(node->uiObject(), nullptr); // the node does not keep its view alive

    // A view that only the canvas holds survives its own deleteSelf call, then goes.
    std::weak_ptr<LanthorNodeView> onlyOnCanvas;
    {
        auto view = std::make_shared<LanthorNodeView>(Rect{});
        view->setUnderlyingNode(node);
        canvas->addSubview(view);
        onlyOnCanvas = view;
    }
    onlyOnCanvas.lock().get()->deleteSelf();
    EXPECT_TRUE(onlyOnCanvas.expired());
    EXPECT_EQ(node.use_count(), 1);
}

} // namespace
} // namespace lanthor
