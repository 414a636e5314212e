// Dragging nodes on the canvas with the mouse: onto a node, between siblings, refused, cancelled.

#include "EditorTestSupport.h"

#include <QAction>
#include <QStatusBar>
#include <QTest>

namespace lanthor::test {

namespace {

/// A point of the node's frame in viewport pixels: `across` 0 is its left edge, 1 its right.
QPoint onNode(const DocumentWindow& window, std::u16string_view number, double across = 0.5) {
    const Rect frame = nodeView(window, number)->frame();
    return window.canvasWidget()
        .viewportPoint(
            {frame.minX() + frame.size.width * across, frame.minY() + frame.size.height / 2})
        .toPoint();
}

/// Presses on the node and moves, in steps, to `to`, the button still down.
void dragFrom(const DocumentWindow& window, std::u16string_view number, QPoint to) {
    QWidget* viewport = window.canvasWidget().viewport();
    const QPoint from = onNode(window, number);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, from + (to - from) / 2);
    QTest::mouseMove(viewport, to);
}

void release(const DocumentWindow& window, QPoint at) {
    QTest::mouseRelease(window.canvasWidget().viewport(), Qt::LeftButton, {}, at);
}

std::vector<std::u16string> children(const DocumentWindow& window, std::u16string_view number) {
    return nodeOf(window, number)->childrenList();
}

TEST_F(EditorTest, DraggingANodeMovesItOntoAnotherOrBetweenSiblingsShowingWhereFirst) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = openActive(file);
    ASSERT_NE(window, nullptr);
    CanvasWidget& canvas = window->canvasWidget();
    canvas.setFocus();
    canvas.displayIfNeeded();

    // Onto the noun: shown before the button is let go, its last child after.
    dragFrom(*window, u"7", onNode(*window, u"4"));
    ASSERT_TRUE(canvas.dropTarget());
    EXPECT_EQ(canvas.dropTarget()->kind, NodeDrop::Kind::Onto);
    EXPECT_EQ(canvas.dropTarget()->parent, u"4");
    EXPECT_EQ(canvas.dropTarget()->refusal, std::nullopt);
    EXPECT_EQ(canvas.viewport()->cursor().shape(), Qt::ClosedHandCursor);
    release(*window, onNode(*window, u"4"));
    EXPECT_EQ(canvas.dropTarget(), std::nullopt);
    EXPECT_EQ(children(*window, u"4"), (std::vector<std::u16string>{u"8", u"7"}));
    EXPECT_EQ(children(*window, u"3"), std::vector<std::u16string>{});
    EXPECT_EQ(canvas.canvas().selectedNode(), nodeView(*window, u"7"));
    EXPECT_EQ(window->action(QStringLiteral("undoAction"))->iconText(), "Undo Move Node");
    QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().dataOfType(), original);

    // Between two siblings of another parent, and past the last of its own siblings, where it
    // counts without its old place.
    canvas.displayIfNeeded();
    const QPoint gap = (onNode(*window, u"10", 1) + onNode(*window, u"11", 0)) / 2;
    dragFrom(*window, u"5", gap);
    ASSERT_TRUE(canvas.dropTarget());
    EXPECT_EQ(canvas.dropTarget()->kind, NodeDrop::Kind::Between);
    release(*window, gap);
    EXPECT_EQ(children(*window, u"6"), (std::vector<std::u16string>{u"10", u"5", u"11"}));
    canvas.displayIfNeeded();
    const QPoint pastTheLast = onNode(*window, u"2", 1) + QPoint(10, 0);
    dragFrom(*window, u"1", pastTheLast);
    ASSERT_TRUE(canvas.dropTarget());
    EXPECT_EQ(canvas.dropTarget()->index, 1U);
    release(*window, pastTheLast);
    EXPECT_EQ(children(*window, u"0"), (std::vector<std::u16string>{u"2", u"1"}));
    QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().dataOfType(), original);

    // Onto its own child: refused while the pointer is over it and when let go there.
    canvas.displayIfNeeded();
    const std::string refusal =
        "Node 1 cannot move under node 3: that is the node itself or a node below it.";
    dragFrom(*window, u"1", onNode(*window, u"3"));
    ASSERT_TRUE(canvas.dropTarget());
    EXPECT_EQ(canvas.dropTarget()->refusal, refusal);
    EXPECT_EQ(canvas.viewport()->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(window->statusBar()->currentMessage(), QString::fromStdString(refusal));
    release(*window, onNode(*window, u"3"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QString::fromStdString(refusal));
    EXPECT_EQ(window->document().dataOfType(), original);

    // Escape cancels, and so does letting go over nothing.
    dragFrom(*window, u"7", onNode(*window, u"4"));
    QTest::keyClick(&canvas, Qt::Key_Escape);
    EXPECT_EQ(canvas.dropTarget(), std::nullopt);
    release(*window, onNode(*window, u"4"));
    dragFrom(*window, u"7", QPoint(2, 2));
    EXPECT_EQ(canvas.dropTarget(), std::nullopt);
    release(*window, QPoint(2, 2));
    EXPECT_EQ(window->document().dataOfType(), original);
    EXPECT_FALSE(window->isWindowModified());
}

} // namespace
} // namespace lanthor::test
