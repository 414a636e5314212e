// The document's undo history: every command taken back and made again down to the saved bytes,
// the clean point, the selection after each step, and the commands for drag and drop and the
// clipboard.

#include "document/FerrowLanthorDocument.h"
#include "model/TreeText.h"
#include "support/CanvasFixture.h"
#include "support/RecordingPainter.h"
#include "support/TempDir.h"

#include <algorithm>
#include <random>

namespace lanthor::test {
namespace {

/// A document with its canvas, as a window wires them; counts the edit notices.
class DocumentUndo : public CanvasFixture {
protected:
    void SetUp() override {
        CanvasFixture::SetUp();
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.setRefusalHandler([this](const std::string& why) { refusals.push_back(why); });
        document.windowControllerDidLoadNib();
    }
    void open(const std::string& path) {
        ASSERT_EQ(document.readFromURL(path), std::nullopt);
        canvas->layOutIfNeeded();
    }
    std::shared_ptr<Tree> node(std::u16string_view number) const {
        return document.treeTable()->nodeDictionary()->find(number);
    }
    /// A press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        canvas->layOutIfNeeded();
        document.mouseDownOnNode(*nodeViewOf(*node(number)), MouseEvent{{1, 1}, clickCount});
    }
    /// The selected node's number, or "none".
    std::u16string selected() const {
        const std::shared_ptr<LanthorNodeView> view = canvas->selectedNode();
        return view ? view->underlyingNode()->nodeNumber() : u"none";
    }
    /// After a layout, what holds a view that is out of date, or nothing.
    std::string staleViews() const {
        canvas->layOutIfNeeded();
        for (const std::shared_ptr<View>& subview : canvas->subviews()) {
            const auto* view = dynamic_cast<const LanthorNodeView*>(subview.get());
            if (!view || !view->underlyingNode() ||
                node(view->underlyingNode()->nodeNumber()) != view->underlyingNode()) {
                return "a view of a node that is not in the table";
            }
        }
        const std::shared_ptr<LanthorNodeView> chosen = canvas->selectedNode();
        if (chosen && (chosen->canvas() != canvas.get() || !chosen->nodeSelected())) {
            return "a selection that is not on the canvas";
        }
        return {};
    }

    FerrowLanthorDocument document;
    int editNotices = 0;
    Lines refusals;
};

// Random commands (and undos and redos among them) on real tree files: each undo gives back
// the bytes of the state before the step, undoing everything gives the file's bytes, and
// redoing everything the bytes of the edits.
TEST_F(DocumentUndo, RandomEditsUndoneGiveBackTheBytesAndRedoneTheEdits) {
    const std::shared_ptr<const TreeTable> pasted = std::get<std::shared_ptr<TreeTable>>(
        readTreeText(u"[P [Q x] r] [S]", TreeTextFormat::Brackets));
    std::mt19937 random(3);
    for (const char* file :
         {"/examples/syntax-tree.csv", "/tests/golden/layout/cycles-gaps-and-listings/input.csv"}) {
        const std::string path = std::string(LANTHOR_SOURCE_DIR) + file;
        for (int round = 0; round < 30; ++round) {
            open(path);
            // The example is a file as the editor saves it; the other one is UTF-8.
            const std::string original = document.dataOfType();
            if (round == 0 && file[1] == 'e') {
                ASSERT_EQ(original, readFile(path));
            }
            std::vector<std::string> bytesAt{original}; // at each position of the history
            std::size_t position = 0;
            for (int step = 0; step < 40; ++step) {
                Strings numbers{u"zz"};
                document.treeTable()->nodeDictionary()->forEach(
                    [&numbers](const auto& stored) { numbers.push_back(stored->nodeNumber()); });
                const auto any = [&]() { return numbers[random() % numbers.size()]; };
                const int notices = editNotices;
                const std::size_t kind = random() % 14;
                answers = {random() % 4 != 0 ? any() : std::optional<std::u16string>()};
                if (kind < 3) {
                    // The last step's check laid the tree out: every node shown has its view.
                    const std::u16string number = any();
                    if (node(number) && node(number)->uiObject()) {
                        click(number, kind == 2 && selected() == number ? 2 : 1);
                    }
                } else if (kind == 3) {
                    document.addNode();
                } else if (kind == 4) {
                    document.editNode();
                } else if (kind == 5) {
                    document.deleteTree();
                } else if (kind == 6) {
                    document.swapNode();
                } else if (kind == 7) {
                    document.changeParent();
                } else if (kind == 8) {
                    document.toogleLineWidth();
                } else if (kind == 9) {
                    document.moveNode(any(), any(), random() % 4);
                } else if (kind == 10) {
                    document.insertTree(pasted);
                } else if (kind < 13 && document.undoHistory().canUndo()) {
                    document.undo();
                    ASSERT_EQ(document.dataOfType(), bytesAt[--position]) << "step " << step;
                } else if (kind == 13 && document.undoHistory().canRedo()) {
                    document.redo();
                    ASSERT_EQ(document.dataOfType(), bytesAt[++position]) << "step " << step;
                }
                if (kind < 11 && editNotices != notices) {
                    bytesAt.resize(++position);
                    bytesAt.push_back(document.dataOfType());
                }
                ASSERT_EQ(document.isEdited(), position != 0);
                ASSERT_EQ(staleViews(), "") << "step " << step << " kind " << kind;
            }
            const std::string edited = bytesAt.back();
            while (document.undoHistory().canUndo()) {
                document.undo();
            }
            ASSERT_EQ(document.dataOfType(), original) << file << " round " << round;
            EXPECT_FALSE(document.isEdited());
            while (document.undoHistory().canRedo()) {
                document.redo();
                ASSERT_EQ(staleViews(), "");
            }
            ASSERT_EQ(document.dataOfType(), edited) << file << " round " << round;
        }
    }
}

TEST_F(DocumentUndo, StepsAreNamedAfterTheirCommandsAndTheCleanPointFollowsSaves) {
    open(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv");
    const auto names = [this] {
        return document.undoHistory().undoName() + " | " + document.undoHistory().redoName();
    };
    // Display settings and commands that change nothing are no steps.
    document.toggleNodeNumber();
    answers = {u"80"};
    document.changeHeight();
    document.changeFont([](const Font&) { return Font(u"Courier", 9); });
    document.deleteTree();
    click(u"0");
    document.swapNode();
    EXPECT_EQ(names(), " | ");
    EXPECT_EQ(editNotices, 0);

    click(u"5");
    document.addNode();
    EXPECT_EQ(names(), "Add Node | ");
    answers = {u"sits"};
    document.editNode();
    document.toogleLineWidth();
    document.swapNode();
    answers = {u"11"};
    document.changeParent();
    EXPECT_EQ(names(), "Change Parent | ");
    document.moveNode(u"5", u"2", 0);
    document.insertTree(document.selectedTrees());
    document.deleteTree();
    EXPECT_EQ(names(), "Delete Tree | ");
    click(u"6");
    document.cutTree();
    EXPECT_EQ(editNotices, 9);
    const Lines expected{"Cut",  "Delete Tree", "Paste",     "Move Node", "Change Parent",
                         "Swap", "Bold Edge",   "Edit Node", "Add Node"};
    Lines undone;
    while (document.undoHistory().canUndo()) {
        undone.push_back(document.undoHistory().undoName());
        document.undo();
    }
    EXPECT_EQ(undone, expected);
    EXPECT_EQ(names(), " | Add Node");
    EXPECT_EQ(editNotices, 18);

    // Edited exactly away from the clean point: at the load, then at the save.
    EXPECT_FALSE(document.isEdited());
    document.redo();
    document.redo();
    EXPECT_TRUE(document.isEdited());
    document.setEdited(false); // saved
    document.undo();
    EXPECT_TRUE(document.isEdited());
    document.redo();
    EXPECT_FALSE(document.isEdited());
    // A new change where the clean point is undone drops it for good.
    document.undo();
    document.undo();
    click(u"9");
    document.toogleLineWidth();
    document.undo();
    EXPECT_TRUE(document.isEdited());
    // Content from a recovery copy is in no file, whatever undo does.
    document.setEdited(false);
    document.setEdited(true);
    document.redo();
    document.undo();
    EXPECT_TRUE(document.isEdited());
    EXPECT_EQ(names(), " | Bold Edge");
    open(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv");
    EXPECT_EQ(names(), " | ");
    EXPECT_FALSE(document.isEdited());
}

TEST_F(DocumentUndo, RoofsAndArrowsAreUndoableStepsThatTheCanvasDraws) {
    open(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv");
    const std::string loaded = document.dataOfType();
    click(u"11");
    document.toggleRoof();
    answers = {u"3"};
    document.addArrow();
    EXPECT_FALSE(document.addArrow(u"3")); // there already
    EXPECT_FALSE(document.addArrow(u"99"));
    EXPECT_FALSE(document.addArrow(u"11"));
    EXPECT_EQ(refusals,
              (std::vector<std::string>{"There is no node “99” to draw an arrow to.",
                                        "An arrow needs another node than the one it leaves."}));
    EXPECT_EQ(node(u"11")->attributes().text(), u"roof arrow=3");
    canvas->layOutIfNeeded();
    ASSERT_EQ(canvas->roofs().size(), 1U);
    EXPECT_EQ(canvas->roofs()[0].node, u"11");
    ASSERT_EQ(canvas->arrows().size(), 1U);
    EXPECT_EQ(canvas->arrows()[0].target, u"3");
    EXPECT_GE(canvas->drawingBounds().maxY(), canvas->arrows()[0].route.runY);
    // The editor's drawing of an area holds the roof and the arrow where they are, only there.
    RecordingPainter whole;
    canvas->drawArea(whole, canvas->drawingBounds());
    EXPECT_EQ(std::count(whole.operations.begin(), whole.operations.end(), "path black"), 2);
    EXPECT_EQ(std::count(whole.operations.begin(), whole.operations.end(), "fill path black"), 1);
    RecordingPainter corner;
    canvas->drawArea(corner,
                     {{canvas->drawingBounds().minX(), canvas->drawingBounds().minY()}, {5, 5}});
    EXPECT_TRUE(corner.paths.empty());

    document.removeArrows();
    EXPECT_EQ(document.undoHistory().undoName(), "Remove Arrows");
    document.undo();
    document.undo();
    EXPECT_EQ(document.undoHistory().undoName(), "Roof");
    document.undo();
    EXPECT_EQ(document.dataOfType(), loaded);
    canvas->layOutIfNeeded();
    EXPECT_TRUE(canvas->roofs().empty());
    EXPECT_TRUE(canvas->arrows().empty());
    document.redo();
    document.redo();
    EXPECT_EQ(node(u"11")->attributes().text(), u"roof arrow=3");
}

TEST_F(DocumentUndo, TheSelectionFollowsTheNodeEachStepActedOn) {
    open(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv");
    const std::string loaded = document.dataOfType();
    // A deleted subtree comes back selected, under new views; done again, nothing is.
    click(u"6");
    const std::shared_ptr<LanthorNodeView> oldView = canvas->selectedNode();
    document.deleteTree();
    document.undo();
    EXPECT_EQ(selected(), u"6");
    EXPECT_NE(canvas->selectedNode(), oldView);
    EXPECT_EQ(document.dataOfType(), loaded);
    document.redo();
    EXPECT_EQ(selected(), u"none");
    document.undo();
    // Adding acted on the parent.
    click(u"12");
    document.addNode();
    click(u"17");
    document.undo();
    EXPECT_EQ(selected(), u"12");
    EXPECT_EQ(node(u"17"), nullptr);

    // Moves are refused with the reason and change nothing, and can be asked about first.
    EXPECT_EQ(document.moveRefusal(u"1", u"8"),
              "Node 1 cannot move under node 8: that is the node itself or a node below it.");
    EXPECT_EQ(document.moveRefusal(u"1", u"2"), std::nullopt);
    document.moveNode(u"99", u"1", 0);
    document.moveNode(u"0", u"1", 0);
    document.moveNode(u"1", u"99", 0);
    document.moveNode(u"1", u"8", 0);
    document.moveNode(u"1", u"1", 0);
    const std::string node1 = "Node 1 cannot move under node ";
    EXPECT_EQ(refusals,
              (Lines{"Node 99 cannot move: there is no such node.",
                     "Node 0 cannot move: it has no parent.", node1 + "99: there is no such node.",
                     node1 + "8: that is the node itself or a node below it.",
                     node1 + "1: that is the node itself or a node below it."}));
    // Change Parent refuses as a move does, once the user has named the new parent.
    click(u"2");
    answers = {u"9", u"99", std::nullopt};
    document.changeParent();
    document.changeParent();
    document.changeParent(); // cancelled: to the end of its own parent, where it is
    click(u"0");
    answers = {u"1"};
    document.changeParent();
    const std::string node2 = "Node 2 cannot move under node ";
    EXPECT_EQ(
        Lines(refusals.begin() + 5, refusals.end()),
        (Lines{node2 + "9: that is the node itself or a node below it.",
               node2 + "99: there is no such node.", "Node 0 cannot move: it has no parent."}));
    EXPECT_FALSE(document.moveNode(u"2", u"0", 1)); // where it is
    EXPECT_FALSE(document.undoHistory().canUndo());
    EXPECT_TRUE(document.moveNode(u"3", u"4", 0));
    EXPECT_EQ(selected(), u"3");
    EXPECT_EQ(node(u"4")->childrenList(), (Strings{u"3", u"8"}));

    // Paste: under the selection, else as new roots; the first top is selected.
    click(u"16");
    const std::shared_ptr<const TreeTable> copied = document.selectedTrees();
    EXPECT_EQ(copied->saveTable(), u"16,,R,<i>mat</i>\n");
    click(u"16"); // unselected
    EXPECT_EQ(writeTreeText(*document.selectedTrees(), TreeTextFormat::Penn),
              writeTreeText(*document.treeTable(), TreeTextFormat::Penn));
    EXPECT_TRUE(document.insertTree(copied));
    EXPECT_EQ(selected(), u"17");
    EXPECT_TRUE(node(u"17")->realRoot());
    document.undo();
    EXPECT_EQ(selected(), u"none");
    document.redo();
    EXPECT_EQ(selected(), u"17");
    EXPECT_FALSE(document.insertTree(std::make_shared<TreeTable>()));
    EXPECT_EQ(document.undoHistory().undoName(), "Paste");
}

} // namespace
} // namespace lanthor::test
