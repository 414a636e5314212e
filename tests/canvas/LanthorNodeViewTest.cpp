#include "support/CanvasFixture.h"

namespace lanthor::test {
namespace {

class NodeView : public CanvasFixture {
protected:
    void SetUp() override {
        CanvasFixture::SetUp();
        load(u"0,1 2 3,R,Top\n1,4 5,0,A\n2,6,0,B\n3,,0,C\n4,,1,D\n5,,0,E\n6,,0,F\n");
        pass();
        log.take();
    }
    bool click(std::u16string_view number, int clickCount = 1) {
        return view(number)->mouseDown(MouseEvent{{1, 1}, clickCount});
    }
};

TEST_F(NodeView, ClicksSelectOneViewAtATimeAndEditOnTheSecondPressOfADoubleClick) {
    view(u"1")->setDrawsBackground(false);
    click(u"1");
    EXPECT_TRUE(view(u"1")->nodeSelected() && view(u"1")->drawsBackground());
    click(u"2"); // takes the selection from the first
    EXPECT_FALSE(view(u"1")->nodeSelected() || view(u"1")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), view(u"2"));
    view(u"2")->setNodeSelected(false);
    click(u"2"); // the canvas's selection whose flag alone was cleared is selected again
    EXPECT_EQ(canvas->selectedNode(), view(u"2"));
    click(u"2"); // the selected node unselects
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_FALSE(click(u"3", 2)); // a double click on an unselected node only selects
    answers = {u"Renamed"};
    EXPECT_TRUE(click(u"3", 2)); // on the selected node the second press edits and unselects
    EXPECT_EQ(node(u"3")->nodeValue(), u"Renamed");
    EXPECT_EQ(canvas->selectedNode(), nullptr);
}

TEST_F(NodeView, EditAddAndLineWidthChangeItsNode) {
    answers = {std::nullopt, u"A", u""};
    const double width = canvas->frame().size.width;
    EXPECT_FALSE(view(u"1")->editNode()); // Cancel keeps the text, and so does OK unchanged
    EXPECT_FALSE(view(u"1")->editNode());
    EXPECT_TRUE(view(u"1")->editNode());
    EXPECT_EQ(node(u"1")->nodeValue(), u"");
    EXPECT_EQ(asked, Lines(3, "Update Node | A"));
    view(u"1")->addNode();
    EXPECT_EQ(children(u"1"), (Strings{u"4", u"5", u"7"}));
    EXPECT_EQ(node(u"7")->nodeValue(), u"New Node!");
    EXPECT_NEAR(canvas->frame().size.width, width + 0.4, 1e-9); // each edit and the add redraw
    EXPECT_TRUE(view(u"4")->toggleLineWidth());
    EXPECT_FALSE(node(u"4")->head());
    EXPECT_EQ(log.lines(), Lines{"Adding Node :New Node! to 1)"});
}

TEST_F(NodeView, SwapMovesItsNodeOnePlaceRightAndTheLastToTheFront) {
    EXPECT_TRUE(view(u"2")->swapNode());
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"3", u"2"}));
    EXPECT_TRUE(view(u"2")->swapNode());
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"3"}));
    EXPECT_FALSE(view(u"6")->swapNode()); // an only child stays
    EXPECT_FALSE(view(u"0")->swapNode()); // a root is refused
    EXPECT_EQ(log.take(), (Lines{"Moving Node 2 to the right. Parent: 0. Sibling Count: 3",
                                 "Moving Node 2 to the right. Parent: 0. Sibling Count: 3",
                                 "Moving Node 6 to the right. Parent: 2. Sibling Count: 1",
                                 "Cannot locate parent node(s)"}));
    node(u"0")->setChildrenList({u"1", u"2", u"1"}); // the first of repeated entries moves
    EXPECT_TRUE(view(u"1")->swapNode());
    EXPECT_FALSE(view(u"1")->swapNode()); // past its twin
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"1"}));
}

TEST_F(NodeView, ChangeParentMovesTheSubtreeToTheEndOfTheNewParent) {
    answers = {std::nullopt, u"3", u"1", u"4", u" 3", u"3 ", u"9", u"3"};
    EXPECT_TRUE(view(u"1")->changeParent()); // Cancel keeps the parent: the node goes last
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    EXPECT_TRUE(view(u"1")->changeParent());
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(children(u"3"), Strings{u"1"});
    EXPECT_EQ(asked, Lines(2, "Select new Parent | 0"));
    EXPECT_EQ(log.take(),
              (Lines{"Changing Parent Node :0 to 0)", "Changing Parent Node :0 to 3)"}));
    // Refused: itself, its subtree, blanks, unknown numbers, and any answer for a root.
    for (const char16_t* number : {u"1", u"1", u"1", u"1", u"1", u"0"}) {
        EXPECT_FALSE(view(number)->changeParent());
    }
    EXPECT_EQ(asked.back(), "Select new Parent | ");
    EXPECT_EQ(log.take(), Lines(6, "Cannot locate parent node(s)"));
    // The subtree test ends on cycles and missing nodes; every entry leaves the old parent.
    load(u"0,1 3 1,R,Top\n1,2,0,A\n2,1 9,0,B\n3,,0,C\n");
    pass();
    answers = {u"2", u"3"};
    EXPECT_FALSE(view(u"1")->changeParent());
    EXPECT_TRUE(view(u"1")->changeParent());
    EXPECT_EQ(children(u"0"), Strings{u"3"});
}

TEST_F(NodeView, ADeletedViewLeavesTheCanvasAndItsNodeAndChangesNothingMore) {
    const std::shared_ptr<LanthorNodeView> deleted = view(u"1");
    table->deleteNode(u"1");
    EXPECT_EQ(deleted->canvas(), nullptr);
    EXPECT_EQ(deleted->underlyingNode(), nullptr);
    answers = {u"ignored", u"0"};
    deleted->addNode();
    EXPECT_FALSE(deleted->toggleLineWidth() || deleted->editNode() || deleted->swapNode() ||
                 deleted->changeParent());
    EXPECT_EQ(table->nodeDictionary()->size(), 4u);
    EXPECT_EQ(asked, (Lines{"Update Node | ", "Select new Parent | "}));
    EXPECT_EQ(log.lines(), (Lines{"Deleting Node :1", "Deleting Node :4", "Deleting Node :5",
                                  "Cannot locate parent node(s)", "Cannot locate parent node(s)"}));
    // A view that only the canvas holds survives its own deleteSelf call, then goes.
    std::weak_ptr<LanthorNodeView> onlyOnCanvas = view(u"2");
    LanthorNodeView* const raw = onlyOnCanvas.lock().get(); // no reference held during the call
    raw->deleteSelf();
    EXPECT_TRUE(onlyOnCanvas.expired());
}

} // namespace
} // namespace lanthor::test
