#include "DocumentFixture.h"
#include "support/TempDir.h"

namespace lanthor::test {
namespace {

constexpr std::u16string_view kTree =
    u"0,1 2 3,R,Top\n1,4 5,0,A\n2,6,0,B\n3,,0,C\n4,,1,D\n5,,0,E\n6,,0,F\n";

using Document = DocumentFixture;

TEST_F(Document, SavesTheTreeAndReadsOnlyAFileThatLoads) {
    EXPECT_EQ(document.dataOfType(), "\xFF\xFE"); // a new document: the mark alone
    document.addNode();
    document.toggleNodeNumber();
    canvas->drawAllNodes();
    click(u"0");
    const TempDir dir;
    const std::string path = dir.write("tree.csv", document.dataOfType());
    EXPECT_EQ(document.readFromURL(dir.write("open.csv", "0,,R,\"open\n"))->message,
              "a quoted field in record 1 is never closed");
    EXPECT_TRUE(document.isEdited());
    // A file that loads replaces the tree, also on the canvas, whose views go with the old one.
    const std::shared_ptr<LanthorNodeView> oldView = view(u"0");
    redraws = 0;
    EXPECT_EQ(document.readFromURL(path), std::nullopt);
    EXPECT_EQ(document.dataOfType(), treeFileBytes(u"0,,R,New Tree!\n"));
    EXPECT_FALSE(document.isEdited());
    EXPECT_EQ(canvas->mTreeTable(), document.treeTable());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_EQ(oldView->canvas(), nullptr);
    EXPECT_EQ(redraws, 1);
    document.windowControllerDidLoadNib(); // the display settings are not part of the file
    EXPECT_FALSE(canvas->mConfiguration()->showNodeNumber());
    EXPECT_EQ(canvas->mConfiguration()->height(), 60);
    EXPECT_EQ(canvas->mConfiguration()->font(), Font(u"Helvetica", 15.0));
}

TEST_F(Document, OnlyCommandsThatChangeSomethingMarkItEdited) {
    load(kTree);
    document.deleteTree(); // nothing selected
    document.swapNode();
    document.changeParent();
    document.editNode();
    document.toogleLineWidth();
    document.addNode(); // refused: the tree has nodes already
    answers = {u"60"};
    document.changeHeight();
    document.changeFont([](const Font& font) { return font; });
    EXPECT_FALSE(document.isEdited());
    EXPECT_EQ(redraws, 8); // every command but the unchanged height redraws
    click(u"4");
    document.toogleLineWidth();
    document.toogleLineWidth();
    EXPECT_TRUE(node(u"4")->head()); // back as it was, but edited twice
    EXPECT_EQ(editNotices, 2);
    FerrowLanthorDocument alone; // without a window nothing changes
    alone.toggleNodeNumber();
    alone.addNode();
    alone.changeHeight();
    EXPECT_EQ(alone.dataOfType(), "\xFF\xFE");
    EXPECT_FALSE(alone.isEdited());
    EXPECT_EQ(asked, Lines{"Change Tree Height | 60"});
}

TEST_F(Document, ClicksSelectOneNodeAndEditOnTheSecondPressOfADoubleClick) {
    load(kTree);
    click(u"1");
    click(u"2"); // takes the selection from the first
    EXPECT_FALSE(view(u"1")->nodeSelected() || view(u"1")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), view(u"2"));
    click(u"2"); // the selected node unselects
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    click(u"3");
    click(u"3");
    click(u"3", 2); // on a node unselected by the first press: selected again, no question
    view(u"3")->setNodeSelected(false);
    click(u"3"); // the canvas's selection whose flag alone was cleared is selected again
    EXPECT_TRUE(view(u"3")->nodeSelected() && view(u"3")->drawsBackground());
    EXPECT_EQ(asked, Lines{});
    answers = {u"Renamed", std::nullopt, u"Renamed", u""};
    click(u"2");
    click(u"2", 2); // on the selected node: edits, and leaves it unselected
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    click(u"2");
    document.editNode(); // Cancel keeps the text, and so does OK on an unchanged field
    document.editNode();
    EXPECT_EQ(editNotices, 1);
    document.editNode();
    EXPECT_EQ(node(u"2")->nodeValue(), u"");
    EXPECT_EQ(asked, (Lines{"Update Node | B", "Update Node | Renamed", "Update Node | Renamed",
                            "Update Node | Renamed"}));
    EXPECT_EQ(editNotices, 2);
}

TEST_F(Document, ADeletedButSelectedViewChangesNothingMore) {
    load(kTree);
    click(u"1");
    document.deleteTree();
    EXPECT_EQ(log.take(), (Lines{"Deleting Node :1", "Deleting Node :4", "Deleting Node :5"}));
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    // The canvas still names the removed view until the next click on the canvas.
    EXPECT_EQ(canvas->selectedNode()->underlyingNode(), nullptr);
    answers = {u"ignored", u"0"};
    document.addNode();
    document.toogleLineWidth();
    document.editNode();
    document.swapNode();
    document.changeParent();
    document.deleteTree();
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 4u);
    EXPECT_EQ(asked, (Lines{"Update Node | ", "Select new Parent | "}));
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
    log.take();
    click(u"6"); // an only child stays
    document.swapNode();
    click(u"0"); // a root is refused
    document.swapNode();
    EXPECT_EQ(log.take(), (Lines{"Moving Node 6 to the right. Parent: 2. Sibling Count: 1",
                                 "Cannot locate parent node(s)"}));
    EXPECT_EQ(editNotices, 3);
    load(u"0,1 2 1,R,Top\n1,,0,A\n2,,0,B\n");
    click(u"1");
    document.swapNode();
    document.swapNode(); // the first of repeated entries moves, also past its twin
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"1"}));
    EXPECT_EQ(editNotices, 1);
}

TEST_F(Document, ChangeParentMovesTheSubtreeToTheEndOfTheNewParent) {
    load(kTree);
    click(u"1");
    answers = {std::nullopt, u"3"}; // Cancel keeps the parent: the node goes last under it
    document.changeParent();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    document.changeParent();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(asked, (Lines{"Select new Parent | 0", "Select new Parent | 0"}));
    // Laid out again, the subtree hangs below its new parent: 2 over 6 at x 10; 3 and 1 at 40,
    // centred over 4 at 30 and 5 at 50.
    canvas->drawAllNodes();
    EXPECT_EQ(view(u"1")->frame().origin, (Point{40, 150}));
    EXPECT_EQ(view(u"4")->frame().origin, (Point{30, 210}));
    EXPECT_EQ(log.take(), (Lines{"Changing Parent Node :0 to 0)", "Changing Parent Node :0 to 3)",
                                 "[draw] nodes"}));
    // The node itself, its subtree, unknown numbers and numbers with blanks are refused; so is
    // any answer for a root, which is asked with an empty field.
    answers = {u"1", u"4", u" 3", u"3 ", u"9", u"3"};
    for (int i = 0; i < 5; ++i) {
        document.changeParent();
    }
    click(u"0");
    document.changeParent();
    EXPECT_EQ(asked.back(), "Select new Parent | ");
    EXPECT_EQ(log.take(), Lines(6, "Cannot locate parent node(s)"));
    EXPECT_EQ(editNotices, 2);
    // The subtree test ends on cycles and missing nodes; every entry leaves the old parent.
    load(u"0,1 3 1,R,Top\n1,2,0,A\n2,1 9,0,B\n3,,0,C\n");
    click(u"1");
    answers = {u"2", u"3"};
    document.changeParent();
    document.changeParent();
    EXPECT_EQ(log.take(), (Lines{"Cannot locate parent node(s)", "Changing Parent Node :0 to 3)"}));
    EXPECT_EQ(children(u"0"), Strings{u"3"});
    EXPECT_EQ(children(u"3"), Strings{u"1"});
}

} // namespace
} // namespace lanthor::test
