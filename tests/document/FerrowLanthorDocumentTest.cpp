#include "DocumentFixture.h"
#include "support/TempDir.h"

namespace lanthor::test {
namespace {

constexpr std::u16string_view kTree =
    u"0,1 2 3,R,Top\n1,4 5,0,A\n2,6,0,B\n3,,0,C\n4,,1,D\n5,,0,E\n6,,0,F\n";

using Document = DocumentFixture;

TEST_F(Document, SavesTheTreeAndReopensItWithDefaultSettings) {
    EXPECT_EQ(document.dataOfType(), "\xFF\xFE"); // a new document: the mark alone
    EXPECT_EQ(document.displayName(), u"Untitled");
    EXPECT_EQ(canvas->mTreeTable(), document.treeTable());
    EXPECT_EQ(canvas->mConfiguration(), document.mConfiguration());
    document.addNode();
    canvas->drawAllNodes();
    click(u"0");
    document.addNode();
    document.toggleNodeNumber();
    alert.ok(u"90");
    document.changeHeight();
    EXPECT_TRUE(document.isEdited());

    const TempDir dir;
    const std::string path = dir.write("tree.csv", document.dataOfType());
    FerrowLanthorDocument reopened;
    EXPECT_EQ(reopened.readFromURL(path), std::nullopt);
    EXPECT_EQ(reopened.dataOfType(), treeFileBytes(u"0,1 ,R,New Tree!\n1,,0,New Node!\n"));
    EXPECT_FALSE(reopened.isEdited());
    reopened.windowControllerDidLoadNib();
    EXPECT_FALSE(reopened.mConfiguration()->showNodeNumber());
    EXPECT_EQ(reopened.mConfiguration()->height(), 60);
    EXPECT_EQ(reopened.mConfiguration()->font(), Font(u"Helvetica", 15.0));
}

TEST_F(Document, ReadingReplacesTheTreeOnlyWhenTheFileLoads) {
    load(kTree);
    click(u"1");
    const std::shared_ptr<TreeTable> before = document.treeTable();
    const TempDir dir;
    EXPECT_EQ(document.readFromURL(dir.write("open.csv", "0,,R,\"never closed\n"))->message,
              "a quoted field in record 1 is never closed");
    EXPECT_EQ(canvas->mTreeTable(), before);
    EXPECT_EQ(log.take(), Lines{"error parsing file:"});
    // A new tree goes to the canvas, whose views and selection go with the old one.
    const std::shared_ptr<LanthorNodeView> oldView = view(u"1");
    EXPECT_EQ(document.readFromURL(dir.write("other.csv", "5,,R,Other\n")), std::nullopt);
    EXPECT_EQ(canvas->mTreeTable(), document.treeTable());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_EQ(oldView->canvas(), nullptr);
    EXPECT_EQ(canvas->subviewCount(), 0u);
    EXPECT_EQ(redraws, 1);
}

TEST_F(Document, OnlyCommandsThatChangeSomethingMarkItEdited) {
    load(kTree);
    document.deleteTree(); // nothing selected
    document.swapNode();
    document.changeParent();
    document.editNode();
    document.toogleLineWidth();
    document.addNode(); // the tree has nodes already
    alert.ok(u"60");
    document.changeHeight();
    document.changeFont([](const Font& font) { return font; });
    EXPECT_FALSE(document.isEdited());
    EXPECT_EQ(editNotices, 0);
    EXPECT_EQ(redraws, 8); // every command but the unchanged height redraws
    document.toggleNodeNumber();
    EXPECT_EQ(editNotices, 1);
    EXPECT_TRUE(canvas->mConfiguration()->showNodeNumber());

    // Without a window, nothing changes and nothing is drawn.
    FerrowLanthorDocument alone;
    alone.setEditedHandler([this] { ++editNotices; });
    alone.toggleNodeNumber();
    alone.addNode();
    alone.changeHeight();
    EXPECT_EQ(alone.treeTable()->nodeDictionary()->size(), 0u);
    EXPECT_EQ(editNotices, 1);
    EXPECT_EQ(alert.asked, Lines{"Change Tree Height | 60"});
}

TEST_F(Document, ClicksSelectOneNodeAndASecondPressOnItEdits) {
    load(kTree);
    click(u"1");
    click(u"2"); // takes the selection from the first
    EXPECT_FALSE(view(u"1")->nodeSelected() || view(u"1")->drawsBackground());
    EXPECT_TRUE(view(u"2")->nodeSelected() && view(u"2")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), view(u"2"));
    click(u"2"); // the selected node unselects
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    // A double click on the selected node: unselected by the first press, selected again by
    // the second, and no question.
    click(u"3");
    click(u"3");
    click(u"3", 2);
    EXPECT_EQ(canvas->selectedNode(), view(u"3"));
    EXPECT_EQ(alert.asked, Lines{});
    // The canvas's selection whose flag alone was cleared is selected again, not undone.
    view(u"3")->setNodeSelected(false);
    click(u"3");
    EXPECT_TRUE(view(u"3")->nodeSelected() && view(u"3")->drawsBackground());
    EXPECT_EQ(editNotices, 0);
    // On an unselected node, the second press edits and leaves it unselected.
    alert.ok(u"Renamed");
    click(u"2");
    click(u"2", 2);
    EXPECT_EQ(alert.asked, Lines{"Update Node | B"});
    EXPECT_EQ(node(u"2")->nodeValue(), u"Renamed");
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_EQ(editNotices, 1);
}

TEST_F(Document, EditAddAndLineWidthChangeTheSelectedNode) {
    load(kTree);
    click(u"1");
    alert.cancel();
    document.editNode();
    alert.ok(u"A"); // unchanged
    document.editNode();
    EXPECT_EQ(editNotices, 0);
    alert.ok(u"");
    document.editNode();
    EXPECT_EQ(node(u"1")->nodeValue(), u"");
    EXPECT_EQ(editNotices, 1);
    EXPECT_EQ(redraws, 6); // the view's after each edit, then the document's
    document.addNode();
    EXPECT_EQ(children(u"1"), (Strings{u"4", u"5", u"7"}));
    EXPECT_EQ(node(u"7")->nodeValue(), u"New Node!");
    EXPECT_EQ(log.take(), Lines{"Adding Node :New Node! to 1)"});
    click(u"4");
    document.toogleLineWidth();
    EXPECT_FALSE(node(u"4")->head());
    document.toogleLineWidth();
    EXPECT_TRUE(node(u"4")->head());
    EXPECT_EQ(editNotices, 4);
}

TEST_F(Document, ADeletedButSelectedViewChangesNothingMore) {
    load(kTree);
    click(u"1");
    const std::shared_ptr<LanthorNodeView> deleted = view(u"1");
    document.deleteTree();
    EXPECT_EQ(log.take(), (Lines{"Deleting Node :1", "Deleting Node :4", "Deleting Node :5"}));
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(editNotices, 1);
    // The canvas still names the removed view until the next click on the canvas.
    EXPECT_EQ(canvas->selectedNode(), deleted);
    EXPECT_EQ(deleted->underlyingNode(), nullptr);
    EXPECT_EQ(deleted->canvas(), nullptr);
    document.addNode();
    document.toogleLineWidth();
    alert.ok(u"ignored");
    document.editNode();
    document.swapNode();
    alert.ok(u"0");
    document.changeParent();
    document.deleteTree();
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 4u);
    EXPECT_EQ(alert.asked, (Lines{"Update Node | ", "Select new Parent | "}));
    EXPECT_EQ(log.lines(), (Lines{"Cannot locate parent node(s)", "Cannot locate parent node(s)",
                                  "Deleting Node :(null)"}));
    EXPECT_EQ(editNotices, 1);
}

TEST_F(Document, SwapMovesANodeOnePlaceRightAndTheLastToTheFront) {
    load(kTree);
    click(u"1");
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"3"}));
    EXPECT_EQ(log.take(), Lines{"Moving Node 1 to the right. Parent: 0. Sibling Count: 3"});
    EXPECT_EQ(redraws, 2); // the view's, then the document's
    document.swapNode();
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"2", u"3"}));
    EXPECT_EQ(editNotices, 3);
    log.take();
    click(u"6"); // an only child stays, and the document is not edited
    document.swapNode();
    EXPECT_EQ(log.take(), Lines{"Moving Node 6 to the right. Parent: 2. Sibling Count: 1"});
    click(u"0"); // a root is refused
    document.swapNode();
    EXPECT_EQ(log.take(), Lines{"Cannot locate parent node(s)"});
    EXPECT_EQ(editNotices, 3);
    // The first of repeated entries moves, past its twin too.
    load(u"0,1 2 1,R,Top\n1,,0,A\n2,,0,B\n");
    click(u"1");
    document.swapNode();
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"1"}));
    EXPECT_EQ(editNotices, 1);
}

TEST_F(Document, ChangeParentMovesTheSubtreeToTheEndOfTheNewParent) {
    load(kTree);
    click(u"1");
    alert.cancel(); // the present parent: the node becomes its last child
    alert.ok(u"3");
    document.changeParent();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    document.changeParent();
    EXPECT_EQ(alert.asked, (Lines{"Select new Parent | 0", "Select new Parent | 0"}));
    EXPECT_EQ(log.take(),
              (Lines{"Changing Parent Node :0 to 0)", "Changing Parent Node :0 to 3)"}));
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(children(u"3"), Strings{u"1"});
    EXPECT_EQ(editNotices, 2);
    // Laid out again, the subtree hangs below its new parent: 2 over 6 at x 10; 3 and 1 at 40,
    // centred over 4 at 30 and 5 at 50.
    canvas->drawAllNodes();
    resetCounts();
    EXPECT_EQ(view(u"3")->frame().origin, (Point{40, 90}));
    EXPECT_EQ(view(u"1")->frame().origin, (Point{40, 150}));
    EXPECT_EQ(view(u"4")->frame().origin, (Point{30, 210}));
    // The node itself, its subtree, unknown numbers and numbers with blanks are refused; so is
    // any answer for a root, which is asked with an empty field.
    for (const char16_t* answer : {u"1", u"4", u" 3", u"3 ", u"9"}) {
        alert.ok(answer);
        document.changeParent();
    }
    click(u"0");
    alert.ok(u"3");
    document.changeParent();
    EXPECT_EQ(alert.asked.back(), "Select new Parent | ");
    EXPECT_EQ(log.take(), Lines(6, "Cannot locate parent node(s)"));
    EXPECT_EQ(children(u"3"), Strings{u"1"});
    EXPECT_EQ(editNotices, 0);
    // The subtree test ends on cycles and missing nodes; every entry leaves the old parent.
    load(u"0,1 3 1,R,Top\n1,2,0,A\n2,1 9,0,B\n3,,0,C\n");
    click(u"1");
    alert.ok(u"2");
    alert.ok(u"3");
    document.changeParent();
    document.changeParent();
    EXPECT_EQ(log.take(), (Lines{"Cannot locate parent node(s)", "Changing Parent Node :0 to 3)"}));
    EXPECT_EQ(children(u"0"), Strings{u"3"});
    EXPECT_EQ(children(u"3"), Strings{u"1"});
}

} // namespace
} // namespace lanthor::test
