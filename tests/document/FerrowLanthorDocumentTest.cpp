// The document's own part of its commands: the canvas redraws after each, and only those that
// change something mark the document edited. What the node commands do is LanthorNodeViewTest's.

#include "DocumentFixture.h"
#include "support/TempDir.h"

namespace lanthor::test {
namespace {

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
    load(u"0,1 2,R,Top\n1,3,0,A\n2,,0,B\n3,,0,C\n");
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
    click(u"3");
    document.swapNode(); // an only child
    answers = {u"1", u"C"};
    document.changeParent(); // its own parent, where it is the last child already
    document.editNode();     // the same text
    EXPECT_EQ(editNotices, 0);
    answers = {u"2", u"renamed"};
    document.changeParent();
    document.editNode();
    document.toogleLineWidth();
    document.addNode();
    click(u"2");
    document.swapNode();
    document.deleteTree();
    document.deleteTree(); // the deleted view is still selected, and names no node
    document.toggleNodeNumber();
    answers = {u"edited"};
    click(u"1");
    click(u"1", 2);
    EXPECT_EQ(editNotices, 8);
    EXPECT_EQ(log.lines().back(), "Deleting Node :(null)");
    FerrowLanthorDocument alone; // without a window nothing changes
    alone.toggleNodeNumber();
    alone.addNode();
    alone.changeHeight();
    EXPECT_EQ(alone.dataOfType(), "\xFF\xFE");
    EXPECT_FALSE(alone.isEdited());
}

} // namespace
} // namespace lanthor::test
