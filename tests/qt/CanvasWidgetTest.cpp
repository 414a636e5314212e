#include "editor/CanvasWidget.h"

#include "EditorTestSupport.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/DocumentWindow.h"
#include "model/Tree.h"
#include "model/TreeTable.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

namespace lanthor::test {

namespace {

std::u16string textOf(const DocumentWindow& window, std::u16string_view number) {
    return window.document().treeTable()->nodeDictionary()->find(number)->nodeValue();
}

} // namespace

TEST_F(EditorTest, ClicksReachTheNodeViewUnderThePointer) {
    DocumentWindow* window = session->openDocument(QString::fromStdString(exampleCopy()));
    ASSERT_NE(window, nullptr);
    const LanthorDocumentView& canvas = window->canvasWidget().canvas();

    clickNode(*window, u"1");
    EXPECT_EQ(canvas.selectedNode(), nodeView(*window, u"1"));
    clickNode(*window, u"16");
    EXPECT_EQ(canvas.selectedNode(), nodeView(*window, u"16"));
    EXPECT_FALSE(nodeView(*window, u"1")->nodeSelected());
    EXPECT_TRUE(nodeView(*window, u"16")->nodeSelected());
    // A second click on the selected node unselects it.
    clickNode(*window, u"16");
    EXPECT_EQ(canvas.selectedNode(), nullptr);
    EXPECT_FALSE(nodeView(*window, u"16")->nodeSelected());

    // A press beside every node goes to the canvas, which clears the selection.
    clickNode(*window, u"2");
    QTest::mouseClick(&window->canvasWidget(), Qt::LeftButton, {},
                      window->canvasWidget().widgetPoint({400, 20}).toPoint());
    EXPECT_EQ(canvas.selectedNode(), nullptr);
    EXPECT_FALSE(nodeView(*window, u"2")->nodeSelected());
    EXPECT_FALSE(window->isWindowModified());

    // A double click on an unselected node: the first press selects it, the second opens the
    // edit dialog with the node's text, and the node ends unselected.
    QStringList seen;
    answerInputAlert(QStringLiteral("Article"), &seen);
    clickNode(*window, u"3", true);
    EXPECT_EQ(seen, QStringList{QStringLiteral("Update Node | Det")});
    EXPECT_EQ(textOf(*window, u"3"), u"Article");
    EXPECT_EQ(canvas.selectedNode(), nullptr);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(nodeView(*window, u"3")->textStorage().string(), u"Article");

    // Cancel keeps the text, also after typing.
    answerInputAlert(std::nullopt, &seen);
    clickNode(*window, u"4", true);
    EXPECT_EQ(seen.last(), QStringLiteral("Update Node | N"));
    EXPECT_EQ(textOf(*window, u"4"), u"N");
}

TEST_F(EditorTest, RightClickSelectsTheNodeAndOffersItsCommands) {
    DocumentWindow* window = session->openDocument(QString::fromStdString(exampleCopy()));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");

    const Rect frame = nodeView(*window, u"6")->frame();
    const QPoint point =
        window->canvasWidget().widgetPoint({frame.origin.x + 2, frame.origin.y + 2}).toPoint();
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions()) {
            offered << action->text();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                            window->canvasWidget().mapToGlobal(point));
    QApplication::sendEvent(&window->canvasWidget(), &event);

    EXPECT_EQ(offered, (QStringList{"&Add Node", "&Edit Node...", "&Delete Tree", "&Swap",
                                    "Change &Parent...", "&Bold Edge"}));
    EXPECT_EQ(window->canvasWidget().canvas().selectedNode(), nodeView(*window, u"6"));
    EXPECT_FALSE(nodeView(*window, u"1")->nodeSelected());
}

TEST_F(EditorTest, TheCanvasReachesNodesLaidOutLeftOfItsOrigin) {
    // The root is far wider than its one child, so the layout centres it left of x = 0.
    const std::string file =
        dir.write("wide.csv", "0,1,R,A very long label for the root of this little tree\n1,,0,x\n");
    DocumentWindow* window = session->openDocument(QString::fromStdString(file));
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

} // namespace lanthor::test
