#include "DocumentFixture.h"

namespace lanthor::test {

namespace {

constexpr std::u16string_view kTree = u"0,1 2 3,R,Top\n1,4,0,A\n2,,0,B\n3,,0,C\n4,,1,D\n";

using NodeViewCommands = EditorFixture;

TEST_F(NodeViewCommands, ClicksSelectOneNodeAtATime) {
    load(kTree);
    click(u"1");
    EXPECT_TRUE(view(u"1")->nodeSelected());
    EXPECT_TRUE(view(u"1")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), view(u"1"));

    // A second node takes the selection from the first.
    click(u"2");
    EXPECT_FALSE(view(u"1")->nodeSelected());
    EXPECT_FALSE(view(u"1")->drawsBackground());
    EXPECT_TRUE(view(u"2")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), view(u"2"));

    // Clicking the selected node unselects it.
    click(u"2");
    EXPECT_FALSE(view(u"2")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), nullptr);

    // A double click on the selected node: unselected by the first press, selected again by the
    // second, and no question asked.
    click(u"3");
    click(u"3");
    click(u"3", 2);
    EXPECT_TRUE(view(u"3")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), view(u"3"));
    EXPECT_TRUE(alert.asked.empty());

    // A click on the canvas outside the nodes clears the selection.
    canvas->mouseDown(MouseEvent{{400, 300}, 1});
    EXPECT_FALSE(view(u"3")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), nullptr);

    // The canvas's selection whose flag alone was cleared is selected again, not undone.
    click(u"1");
    view(u"1")->setNodeSelected(false);
    click(u"1");
    EXPECT_TRUE(view(u"1")->nodeSelected());
    EXPECT_TRUE(view(u"1")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), view(u"1"));
    EXPECT_EQ(editNotices, 0);
}

TEST_F(NodeViewCommands, DoubleClickOnAnUnselectedNodeEditsIt) {
    load(kTree);
    alert.ok(u"Renamed");
    click(u"2");
    resetCounts();
    click(u"2", 2);
    EXPECT_EQ(alert.asked, Lines{"Update Node | B"});
    EXPECT_EQ(node(u"2")->nodeValue(), u"Renamed");
    EXPECT_FALSE(view(u"2")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(editNotices, 1);
    EXPECT_TRUE(document.isEdited());
}

TEST_F(NodeViewCommands, EditKeepsTheTextOnCancelAndTakesWhatOkGives) {
    load(kTree);
    click(u"1");
    resetCounts();

    alert.cancel();
    document.editNode();
    EXPECT_EQ(node(u"1")->nodeValue(), u"A");
    alert.ok(u"A"); // unchanged field
    document.editNode();
    EXPECT_EQ(node(u"1")->nodeValue(), u"A");
    EXPECT_EQ(editNotices, 0);
    EXPECT_FALSE(document.isEdited());

    alert.ok(u"");
    document.editNode();
    EXPECT_EQ(node(u"1")->nodeValue(), u"");
    EXPECT_EQ(editNotices, 1);
    EXPECT_EQ(alert.asked, (Lines{"Update Node | A", "Update Node | A", "Update Node | A"}));
    // The view redraws after each edit and the document once more.
    EXPECT_EQ(redraws, 6);

    // Nothing selected: no question, only the redraw.
    canvas->mouseDown(MouseEvent{});
    document.editNode();
    EXPECT_EQ(alert.asked.size(), 3u);
    EXPECT_EQ(redraws, 7);
}

TEST_F(NodeViewCommands, AddPutsANewNodeLastUnderTheSelectedOne) {
    load(kTree);
    click(u"0");
    resetCounts();
    document.addNode();
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"2", u"3", u"5"}));
    EXPECT_EQ(node(u"5")->nodeValue(), u"New Node!");
    EXPECT_FALSE(node(u"5")->head());
    EXPECT_FALSE(node(u"5")->realRoot());
    EXPECT_EQ(log.lines(), Lines{"Adding Node :New Node! to 0)"});
    EXPECT_EQ(redraws, 2); // the view's, then the document's
    EXPECT_EQ(editNotices, 1);

    // With nothing selected on a tree that has nodes, nothing is added.
    canvas->mouseDown(MouseEvent{});
    document.addNode();
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 6u);
    EXPECT_EQ(editNotices, 1);
}

TEST_F(NodeViewCommands, AddOnAnEmptyDocumentMakesTheFirstRoot) {
    document.addNode();
    EXPECT_EQ(node(u"0")->nodeValue(), u"New Tree!");
    EXPECT_TRUE(node(u"0")->realRoot());
    EXPECT_EQ(editNotices, 1);
}

TEST_F(NodeViewCommands, LineWidthTogglesBackAfterTwoCalls) {
    load(kTree);
    click(u"4");
    resetCounts();
    document.toogleLineWidth();
    EXPECT_FALSE(node(u"4")->head());
    document.toogleLineWidth();
    EXPECT_TRUE(node(u"4")->head());
    EXPECT_EQ(redraws, 2); // the document's only: the view does not redraw
    EXPECT_EQ(editNotices, 2);

    canvas->mouseDown(MouseEvent{});
    document.toogleLineWidth();
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(editNotices, 2);
}

TEST_F(NodeViewCommands, ADeletedButSelectedViewHasNoNodeAndNoCanvas) {
    load(kTree);
    click(u"1");
    const std::shared_ptr<LanthorNodeView> deleted = view(u"1");
    resetCounts();
    document.deleteTree();
    EXPECT_EQ(log.lines(), (Lines{"Deleting Node :1", "Deleting Node :4"}));
    EXPECT_EQ(node(u"1"), nullptr);
    EXPECT_EQ(node(u"4"), nullptr);
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(editNotices, 1);

    // The canvas still names the removed view until the next click on the canvas.
    EXPECT_EQ(canvas->selectedNode(), deleted);
    EXPECT_EQ(deleted->underlyingNode(), nullptr);
    EXPECT_EQ(deleted->canvas(), nullptr);
    resetCounts();
    document.addNode();
    document.toogleLineWidth();
    alert.ok(u"ignored");
    document.editNode();
    document.swapNode();
    alert.ok(u"0");
    document.changeParent();
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 3u);
    EXPECT_EQ(alert.asked, (Lines{"Update Node | ", "Select new Parent | "}));
    EXPECT_EQ(log.lines(), (Lines{"Cannot locate parent node(s)", "Cannot locate parent node(s)"}));
    EXPECT_EQ(editNotices, 0);
    EXPECT_EQ(redraws, 5); // the document's redraw after each command, nothing from the view

    // Deleting again through the same view names no node.
    log.take();
    document.deleteTree();
    EXPECT_EQ(log.lines(), Lines{"Deleting Node :(null)"});
    EXPECT_EQ(editNotices, 0);
}

/// A canvas of a subclass: not a canvas for the node views on it.
class DerivedCanvas final : public LanthorDocumentView {
public:
    using LanthorDocumentView::LanthorDocumentView;
};

TEST_F(NodeViewCommands, OnlyAnExactDocumentViewIsTheCanvas) {
    load(kTree);
    const std::shared_ptr<LanthorNodeView> moved = view(u"2");
    EXPECT_EQ(moved->canvas(), canvas.get());
    auto other = std::make_shared<DerivedCanvas>(Rect{{0, 0}, {100, 100}}, text);
    other->setTreeTable(document.treeTable());
    other->addSubview(moved);
    EXPECT_EQ(moved->canvas(), nullptr);

    // The view's own flag changes, but nothing on the canvas's side; nothing is added.
    moved->mouseDown(MouseEvent{});
    EXPECT_TRUE(moved->nodeSelected());
    EXPECT_EQ(other->selectedNode(), nullptr);
    moved->addNode();
    EXPECT_EQ(children(u"2"), Strings{});
    EXPECT_EQ(log.lines(), Lines{"[draw] nodes"});
}

} // namespace

} // namespace lanthor::test
