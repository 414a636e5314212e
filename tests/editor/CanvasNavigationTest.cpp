// The canvas as the keyboard, the wheel and the View menu move it: selection, zoom, scrolling.

#include "EditorTestSupport.h"

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <climits>
#include <cmath>

namespace lanthor::test {

namespace {

/// The window's canvas, the window active and the canvas focused, as after a click on it.
CanvasWidget& activeCanvas(DocumentWindow& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.canvasWidget().setFocus();
    window.canvasWidget().displayIfNeeded();
    return window.canvasWidget();
}

/// The selected node's number, or "-".
std::u16string selected(const CanvasWidget& canvas) {
    const std::shared_ptr<LanthorNodeView>& view = canvas.canvas().selectedNode();
    return view ? view->underlyingNode()->nodeNumber() : u"-";
}

/// The numbers selected by pressing each key in turn, space-separated.
std::u16string press(CanvasWidget& canvas, const std::vector<QKeyCombination>& keys) {
    std::u16string seen;
    for (const QKeyCombination key : keys) {
        QTest::keyClick(&canvas, key.key(), key.keyboardModifiers());
        if (!seen.empty()) {
            seen += u' ';
        }
        seen += selected(canvas);
    }
    return seen;
}

/// The node's frame on the screen, in viewport pixels.
QRectF onScreen(const DocumentWindow& window, std::u16string_view number) {
    const Rect frame = nodeView(window, number)->frame();
    const CanvasWidget& canvas = window.canvasWidget();
    return {canvas.viewportPoint(frame.origin), canvas.viewportPoint({frame.maxX(), frame.maxY()})};
}

bool inView(const DocumentWindow& window, std::u16string_view number) {
    return QRectF(window.canvasWidget().viewport()->rect()).contains(onScreen(window, number));
}

TEST_F(EditorTest, TheKeyboardAndTheWheelMoveTheSelectionAndTheZoom) {
    DocumentWindow* window = open(exampleCopy());
    ASSERT_NE(window, nullptr);
    CanvasWidget& canvas = activeCanvas(*window);
    const QKeyCombination tab(Qt::Key_Tab), backtab(Qt::ShiftModifier, Qt::Key_Backtab);
    EXPECT_EQ(press(canvas, {tab, tab, tab, tab, backtab, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up,
                             Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Escape}),
              u"0 1 3 7 3 7 3 1 2 5 5 -");

    // The zoom keys; looking changes nothing in the document.
    const auto zoomed = [&canvas](QKeyCombination key) {
        QTest::keyClick(&canvas, key.key(), key.keyboardModifiers());
        return canvas.zoom();
    };
    EXPECT_EQ(zoomed(Qt::CTRL | Qt::Key_Equal), 1.25);
    EXPECT_EQ(zoomed(Qt::CTRL | Qt::Key_Plus), 1.5625);
    EXPECT_EQ(zoomed(Qt::CTRL | Qt::Key_Minus), 1.25);
    EXPECT_EQ(zoomed(Qt::CTRL | Qt::Key_0), 1.0);
    EXPECT_FALSE(window->isWindowModified());

    // Larger than the window, the tree scrolls to show every node the keyboard selects.
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(&canvas, Qt::Key_Equal, Qt::ControlModifier);
    }
    for (int i = 0; i < 17; ++i) {
        QTest::keyClick(&canvas, Qt::Key_Tab);
        EXPECT_TRUE(inView(*window, selected(canvas))) << toUtf8(selected(canvas));
    }
    // The wheel with Ctrl zooms about the pointer.
    const QPointF pointer = onScreen(*window, u"16").center();
    const Point under = canvas.canvasPoint(pointer);
    QWheelEvent wheel(pointer, canvas.viewport()->mapToGlobal(pointer), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas.viewport(), &wheel);
    EXPECT_DOUBLE_EQ(canvas.zoom(), std::pow(1.25, 6));
    EXPECT_NEAR(canvas.viewportPoint(under).x(), pointer.x(), 1);
    EXPECT_NEAR(canvas.viewportPoint(under).y(), pointer.y(), 1);

    // A new node is selected, shown and its text asked for.
    EXPECT_EQ(selected(canvas), u"16");
    QStringList seen;
    answerInputAlert(QStringLiteral("rug"), &seen);
    QTest::keyClick(&canvas, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(seen, QStringList{"Update Node | New Node!"});
    EXPECT_EQ(selected(canvas), u"17");
    EXPECT_EQ(nodeOf(*window, u"17")->nodeValue(), u"rug");
    EXPECT_TRUE(inView(*window, u"17"));
}

TEST_F(EditorTest, ADocumentOpensOnItsRootAndASmallOneIsCentred) {
    DocumentWindow* window = open(dir.write("one.csv", "0,,R,alone\n"));
    ASSERT_NE(window, nullptr);
    const auto gaps = [window] {
        const QRectF node = onScreen(*window, u"0");
        const QSize view = window->canvasWidget().viewport()->size();
        return QMarginsF(node.left(), node.top(), view.width() - node.right(),
                         view.height() - node.bottom());
    };
    for (const QSize size : {QSize(640, 480), QSize(1000, 700)}) {
        window->resize(size);
        QTest::qWait(0);
        const QMarginsF around = gaps();
        // As much room on either side, but for the drawing's margins.
        EXPECT_NEAR(around.left(), around.right(), 20) << size.width();
        EXPECT_NEAR(around.top(), around.bottom(), 20) << size.width();
    }

    // A tree many windows wide opens with its root in the middle of the window.
    std::string wide = "0,";
    for (int child = 1; child <= 150; ++child) {
        wide += std::to_string(child) + ' ';
    }
    wide += ",R,root\n";
    for (int child = 1; child <= 150; ++child) {
        wide += std::to_string(child) + ",,0,leaf " + std::to_string(child) + '\n';
    }
    window = open(dir.write("wide.csv", wide));
    ASSERT_NE(window, nullptr);
    CanvasWidget& canvas = activeCanvas(*window);
    EXPECT_GT(canvas.horizontalScrollBar()->maximum(), 5 * canvas.viewport()->width());
    EXPECT_TRUE(inView(*window, u"0"));
    EXPECT_NEAR(onScreen(*window, u"0").center().x(), canvas.viewport()->width() / 2.0, 1);

    // Fit to Window shows all of it, smaller; Ctrl+0 brings back the actual size.
    trigger(*window, "fitToWindowAction");
    EXPECT_LT(canvas.zoom(), 0.1);
    EXPECT_EQ(canvas.horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(inView(*window, u"1") && inView(*window, u"150"));
    QTest::keyClick(&canvas, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(canvas.zoom(), 1.0);
}

TEST_F(EditorTest, ADrawingPastTheLargestWidgetScrollsToItsEnd) {
    // A chain 14,000 levels deep at 10,000 points a level: 140 million points high.
    std::string chain;
    for (int node = 0; node < 14000; ++node) {
        const std::string number = std::to_string(node);
        chain += number;
        chain += ',';
        if (node < 13999) {
            chain += std::to_string(node + 1);
        }
        chain += node == 0 ? ",R,n" : ",0,n";
        chain += number;
        chain += '\n';
    }
    DocumentWindow* window = open(dir.write("deep.csv", chain));
    ASSERT_NE(window, nullptr);
    CanvasWidget& canvas = activeCanvas(*window);
    answerInputAlert(QStringLiteral("10000"));
    trigger(*window, "levelHeightAction");
    activeCanvas(*window);
    QScrollBar& bar = *canvas.verticalScrollBar();
    EXPECT_GT(bar.maximum(), 100'000'000);

    bar.setValue(bar.maximum());
    EXPECT_TRUE(inView(*window, u"13999"));
    clickNode(*window, u"13999");
    EXPECT_EQ(selected(canvas), u"13999");

    // The zoom stops where the scroll bars' integers would overflow.
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(&canvas, Qt::Key_Equal, Qt::ControlModifier);
    }
    EXPECT_GT(canvas.zoom(), 7);
    EXPECT_LT(canvas.zoom(), CanvasWidget::kLargestZoom);
    EXPECT_LE(bar.maximum(), INT_MAX / 2);
    QTest::keyClick(&canvas, Qt::Key_Up);
    EXPECT_EQ(selected(canvas), u"13998");
    EXPECT_TRUE(inView(*window, u"13998"));
}

} // namespace

} // namespace lanthor::test
