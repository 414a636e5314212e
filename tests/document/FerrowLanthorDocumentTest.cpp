// The document: reading, saving, display commands, and its part of the node commands (redraws,
// edit tracking). What the node commands do is LanthorNodeViewTest's.

#include "document/FerrowLanthorDocument.h"

#include "support/CanvasFixture.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>

namespace lanthor::test {
namespace {

/// The canvas as the window of a document, wired as the window wires them; counts the canvas's
/// requests for display, which every redraw makes, and the document's edit notices.
class Document : public CanvasFixture {
protected:
    void SetUp() override {
        CanvasFixture::SetUp();
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
        table = document.treeTable();
    }
    /// Replaces the tree by the nodes of tree-file text, lays it out and forgets the counts.
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(table->loadTable(treeFile));
        canvas->drawAllNodes();
        log.take();
        redraws = editNotices = 0;
    }
    /// A press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        document.mouseDownOnNode(*view(number), MouseEvent{{1, 1}, clickCount});
    }

    FerrowLanthorDocument document;
    int redraws = 0;
    int editNotices = 0;
};

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
    EXPECT_EQ(redraws, 7); // every command but the unchanged height and font redraws
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
    EXPECT_EQ(canvas->selectedNode(), nullptr); // the selection went with the node
    document.deleteTree();
    document.toggleNodeNumber(); // a display setting, not an edit
    answers = {u"edited"};
    click(u"1");
    click(u"1", 2);
    EXPECT_EQ(editNotices, 7);
    EXPECT_EQ(log.lines().back(), "Deleting Node :(null)");
    // With the root deleted, Add starts a new tree.
    click(u"0");
    document.deleteTree();
    document.addNode();
    EXPECT_EQ(document.dataOfType(), treeFileBytes(u"0,,R,New Tree!\n"));
    FerrowLanthorDocument alone; // without a window nothing changes
    alone.toggleNodeNumber();
    alone.addNode();
    alone.changeHeight();
    EXPECT_EQ(alone.dataOfType(), "\xFF\xFE");
    EXPECT_FALSE(alone.isEdited());
}

TEST_F(Document, TheSelectionTellsWhetherTheSelectedNodeHasAParent) {
    using Selection = FerrowLanthorDocument::Selection;
    EXPECT_EQ(document.nodeCount(), 0u);
    EXPECT_EQ(document.selection(), Selection::None);
    // The root 0 is also a child of the root 2: what counts is the parent, not the flag.
    load(u"0,1,R,Top\n1,,0,A\n2,0,R,Above the top\n");
    EXPECT_EQ(document.nodeCount(), 3u);
    click(u"1");
    EXPECT_EQ(document.selection(), Selection::NodeWithParent);
    click(u"0");
    EXPECT_EQ(document.selection(), Selection::NodeWithParent);
    click(u"2");
    EXPECT_EQ(document.selection(), Selection::NodeWithoutParent);
    click(u"2");
    EXPECT_EQ(document.selection(), Selection::None);
}

TEST_F(Document, HeightAndFontAreDisplaySettingsThatRefuseWhatTheyCannotUse) {
    Lines refusals;
    document.setRefusalHandler([&refusals](const std::string& why) { refusals.push_back(why); });
    answers = {u"60", std::nullopt, u"  -7 points", u"tall", u"0", u"10001", u" 80 ", u"10000"};
    for (std::size_t i = 0; i < 8; ++i) {
        document.changeHeight();
    }
    EXPECT_EQ(canvas->mConfiguration()->height(), 10000);
    EXPECT_EQ(asked.size(), 8u);
    EXPECT_EQ(asked.back(), "Change Tree Height | 80");
    const std::string range = "The level height must be a whole number from 1 to 10000, not ";
    EXPECT_EQ(refusals, (Lines{range + "“  -7 points”.", range + "“tall”.", range + "“0”.",
                               range + "“10001”."}));
    EXPECT_EQ(log.lines(), refusals);
    EXPECT_EQ(redraws, 2);
    log.take();
    document.changeFont([](const Font& font) { return font; });
    document.changeFont([](const Font& font) { return Font(u"Courier", font.pointSize() + 3); });
    EXPECT_EQ(canvas->mConfiguration()->font(), Font(u"Courier", 18.0));
    EXPECT_EQ(log.lines(), (Lines{"Font Chnaged", "Font Chnaged"}));
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(editNotices, 0);
    EXPECT_FALSE(document.isEdited());
}

TEST_F(Document, ExportWritesToTheDesktopUnderTheDisplayNameOrSaysWhyNot) {
    const TempDir home;
    const std::string previousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    load(u"0,,R,Top\n");
    document.setDisplayName(u"Syntax tré");
    Lines written;
    const auto writer = [&written](LanthorDocumentView& drawn, const std::string& path) {
        written.push_back(path);
        std::ofstream(path) << drawn.subviewCount();
        return std::optional<std::string>();
    };
    EXPECT_EQ(document.exportImage(writer), std::nullopt);
    EXPECT_EQ(document.exportImage(writer), std::nullopt); // the second replaces the first
    EXPECT_EQ(written, Lines(2, home.file("Desktop/Syntax tré.jpg")));
    EXPECT_EQ(readFile(written[0]), "1");
    EXPECT_EQ(log.lines(), (Lines{"Copy to Clipboard", "Copy to Clipboard"}));
    EXPECT_EQ(redraws + editNotices, 0);
    // A Desktop that cannot be made and a missing window come back for the window to show.
    setenv("HOME", home.write("file", "").c_str(), 1);
    EXPECT_EQ(document.exportImage(writer)->rfind(
                  "Cannot create the folder " + home.file("file/Desktop") + ": ", 0),
              0u);
    EXPECT_EQ(FerrowLanthorDocument().exportImage(writer),
              "There is no picture to export: the document has no window.");
    setenv("HOME", previousHome.c_str(), 1);
}

} // namespace
} // namespace lanthor::test
