#include "EditorTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

namespace lanthor::test {

namespace {

TEST_F(EditorTest, ClicksReachTheNodeViewUnderThePointer) {
    DocumentWindow* window = open(exampleCopy());
    ASSERT_NE(window, nullptr);
    CanvasWidget& widget = window->canvasWidget();
    clickNode(*window, u"16");
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"16"));
    // A press beside every node goes to the canvas, which clears the selection.
    QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.widgetPoint({400, 20}).toPoint());
    EXPECT_EQ(widget.canvas().selectedNode(), nullptr);

    // A double click edits the node in the input alert. A label that reads as no text at all
    // leaves the text shown before.
    QStringList seen;
    answerInputAlert(QStringLiteral("<sub></sub>"), &seen);
    clickNode(*window, u"3", true);
    EXPECT_EQ(seen, QStringList{"Update Node | Det"});
    EXPECT_EQ(nodeOf(*window, u"3")->nodeValue(), u"<sub></sub>");
    EXPECT_EQ(nodeView(*window, u"3")->textStorage().string(), u"Det");
    EXPECT_TRUE(window->isWindowModified());

    // A right click selects the node under it and offers the node commands.
    const Rect frame = nodeView(*window, u"6")->frame();
    const QPoint point = widget.widgetPoint({frame.origin.x + 2, frame.origin.y + 2}).toPoint();
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions()) {
            offered << action->text();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, widget.mapToGlobal(point));
    QApplication::sendEvent(&widget, &event);
    EXPECT_EQ(offered, (QStringList{"&Add Node", "&Edit Node...", "&Delete Tree", "&Swap",
                                    "Change &Parent...", "&Bold Edge"}));
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"6"));
}

TEST_F(EditorTest, TheCanvasReachesNodesLaidOutLeftOfItsOrigin) {
    // The root is far wider than its one child, so the layout centres it left of x = 0.
    DocumentWindow* window = open(dir.write(
        "wide.csv", "0,1,R,A very long label for the root of this little tree\n1,,0,x\n"));
    ASSERT_NE(window, nullptr);
    CanvasWidget& widget = window->canvasWidget();
    const Rect root = nodeView(*window, u"0")->frame();
    ASSERT_LT(root.origin.x, 0);

    // The whole root lies inside the widget, and a click at its left end reaches it.
    const QPointF left = widget.widgetPoint({root.origin.x + 1, root.origin.y + 1});
    const QPointF right = widget.widgetPoint({root.maxX(), root.maxY()});
    EXPECT_GE(left.x(), 0);
    EXPECT_LE(right.x(), widget.minimumWidth());
    QTest::mouseClick(&widget, Qt::LeftButton, {}, left.toPoint());
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"0"));

    // The scroll area can show it: its content is the whole drawing.
    auto* scrollArea = window->findChild<QScrollArea*>(QStringLiteral("canvasScrollArea"));
    ASSERT_NE(scrollArea, nullptr);
    EXPECT_GE(scrollArea->widget()->width(), static_cast<int>(right.x()));
}

} // namespace

} // namespace lanthor::test
