#include "EditorTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>

namespace lanthor::test {

namespace {

TEST_F(EditorTest, ClicksReachTheNodeViewUnderThePointer) {
    DocumentWindow* window = open(exampleCopy());
    ASSERT_NE(window, nullptr);
    CanvasWidget& widget = window->canvasWidget();
    clickNode(*window, u"16");
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"16"));
    // A press beside every node goes to the canvas, which clears the selection.
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {},
                      widget.viewportPoint({400, 20}).toPoint());
    EXPECT_EQ(widget.canvas().selectedNode(), nullptr);

    // A double click edits the node in the input alert. A label that reads as no text at all
    // shows nothing of the text before, and stays a line high and clickable.
    QStringList seen;
    answerInputAlert(QStringLiteral("<sub></sub>"), &seen);
    clickNode(*window, u"3", true);
    EXPECT_EQ(seen, QStringList{"Update Node | Det"});
    EXPECT_EQ(nodeOf(*window, u"3")->nodeValue(), u"<sub></sub>");
    EXPECT_EQ(nodeView(*window, u"3")->textStorage().string(), u"");
    EXPECT_GT(nodeView(*window, u"3")->frame().size.height, 10);
    clickNode(*window, u"3");
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"3"));

    // A right click selects the node under it and offers the node commands.
    const Rect frame = nodeView(*window, u"6")->frame();
    const QPoint point = widget.viewportPoint({frame.origin.x + 2, frame.origin.y + 2}).toPoint();
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions()) {
            offered << action->text();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, widget.viewport()->mapToGlobal(point));
    QApplication::sendEvent(widget.viewport(), &event);
    EXPECT_EQ(offered, (QStringList{"Cu&t", "&Copy", "&Paste", "", "&Add Node", "&Edit Node...",
                                    "&Delete Tree", "&Swap", "Change &Parent...", "&Bold Edge",
                                    "&Roof", "Add A&rrow...", "Remove Arro&ws"}));
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"6"));
}

int darkPixels(const QImage& image, QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(EditorTest, TheWholeDrawingIsShownAndExportedOnWhite) {
    // A wide root over its narrow child, on a bold edge.
    DocumentWindow* window = open(dir.write("wide.csv", "0,1,R,A very wide root label\n1,,1,x\n"));
    ASSERT_NE(window, nullptr);
    CanvasWidget& widget = window->canvasWidget();
    const Rect root = nodeView(*window, u"0")->frame();

    // The window shows the whole root, which a click at its left end reaches.
    const QPointF left = widget.viewportPoint({root.origin.x + 1, root.origin.y + 1});
    const QPointF right = widget.viewportPoint({root.maxX(), root.maxY()});
    EXPECT_GE(left.x(), 0);
    EXPECT_LE(right.x(), widget.viewport()->width());
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, left.toPoint());
    EXPECT_EQ(widget.canvas().selectedNode(), nodeView(*window, u"0"));

    // Exported, to the Desktop or elsewhere, the picture is the whole drawing on white: the
    // root's text is there, and the export's own pass draws the edges too.
    const Rect extent = widget.canvas().drawingBounds();
    const int originX = -static_cast<int>(std::floor(extent.minX()));
    const QSize drawing(static_cast<int>(std::ceil(extent.maxX())) + originX,
                        static_cast<int>(std::ceil(extent.maxY())));
    trigger(*window, "exportAction");
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("Desktop/wide.jpg")), "JPEG").size(), drawing);
    user.paths = {QString::fromStdString(dir.file("wide.png"))};
    trigger(*window, "exportAsAction");
    const QImage picture(QString::fromStdString(dir.file("wide.png")), "PNG");
    EXPECT_EQ(picture.size(), drawing);
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_GT(darkPixels(picture, QRect(originX + static_cast<int>(root.origin.x), 30,
                                        static_cast<int>(root.size.width), 20)),
              20);
    double edgeX = 0;
    widget.canvas().forEachEdge(
        [&](const LanthorDocumentView::Edge& edge) { edgeX = edge.from.x; });
    EXPECT_EQ(darkPixels(picture, QRect(originX + static_cast<int>(edgeX), 60, 1, 20)), 20);

    // A failure is shown: here the Desktop is a file, so the folder cannot be made.
    std::filesystem::remove_all(dir.path() / "Desktop");
    const QString desktop = QString::fromStdString(dir.write("Desktop", "not a folder"));
    trigger(*window, "exportAction");
    const QString gif = QString::fromStdString(dir.file("picture.gif"));
    user.paths = {gif};
    trigger(*window, "exportAsAction");
    EXPECT_EQ(user.errors,
              (QStringList{"The picture could not be exported. | Cannot create the folder " +
                               desktop + ": Not a directory",
                           "The picture could not be exported. | " + gif +
                               ": the name must end in .jpg, .jpeg, .png, .svg, .pdf, .brackets, "
                               ".ptb, .tex or .qtree"}));
}

} // namespace

} // namespace lanthor::test
