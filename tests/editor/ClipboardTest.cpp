// Copy, Cut and Paste from the keys, and which commands the window enables.

#include "EditorTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

namespace lanthor::test {

namespace {

TEST_F(EditorTest, CopyPutsThePictureAndTheTextOnTheClipboardAndPasteAddsTheTrees) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = openActive(file);
    ASSERT_NE(window, nullptr);
    QWidget* canvas = &window->canvasWidget();
    QClipboard* clipboard = QGuiApplication::clipboard();

    // The object "the mat": a bold edge into its noun.
    clickNode(*window, u"11");
    QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = clipboard->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "[NP<sub>obj</sub> [Det <i>the</i>] [N <i>mat</i>]]\n");
    const QImage png = QImage::fromData(copied->data(QStringLiteral("image/png")), "PNG");
    const QImage image = qvariant_cast<QImage>(copied->imageData());
    EXPECT_EQ(png.size(), image.size());
    // Three levels 60 apart, narrower than the whole tree.
    EXPECT_GT(png.height(), 2 * 60);
    EXPECT_LT(png.height(), 3 * 60);
    EXPECT_LT(png.width(), window->canvasWidget().canvas().drawingBounds().size.width / 2);
    const QByteArray svg = copied->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains(">mat</text>")) << svg.toStdString();
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Copied the selected node and everything below it");

    // Pasted under the cat, under new numbers, the bold edge kept.
    clickNode(*window, u"8");
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(nodeOf(*window, u"8")->childrenList(), std::vector<std::u16string>{u"17"});
    EXPECT_EQ(treeText(*window).substr(treeText(*window).find(u"17,")),
              u"17,18 20 ,0,NP<sub>obj</sub>\n18,19 ,0,Det\n19,,0,<i>the</i>\n20,21 ,1,N\n"
              u"21,,0,<i>mat</i>\n");
    EXPECT_EQ(window->action(QStringLiteral("undoAction"))->iconText(), "Undo Paste");
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().dataOfType(), original);

    // Cut is one step; what it took is on the clipboard.
    clickNode(*window, u"6");
    QTest::keyClick(canvas, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(nodeOf(*window, u"6"), nullptr);
    EXPECT_EQ(clipboard->text(), "[PP [P <i>on</i>] [NP<sub>obj</sub> [Det <i>the</i>] [N "
                                 "<i>mat</i>]]]\n");
    EXPECT_EQ(window->action(QStringLiteral("undoAction"))->iconText(), "Undo Cut");
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().dataOfType(), original);

    // Text from elsewhere: Penn Treebank text, pasted as a new tree with nothing selected.
    clickNode(*window, u"6"); // unselected
    clipboard->setText(QStringLiteral("(S (NP it) (VP rains))"));
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(treeText(*window).substr(treeText(*window).find(u"17,")),
              u"17,18 20 ,R,S\n18,19 ,0,NP\n19,,0,it\n20,21 ,0,VP\n21,,0,rains\n");
    // Text that is no tree is refused, with where it stops being labelled brackets.
    clipboard->setText(QStringLiteral("[S x] y"));
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Nothing to paste: the clipboard holds no tree (1:7 text outside brackets).");
    EXPECT_EQ(nodeOf(*window, u"22"), nullptr);
}

TEST_F(EditorTest, CommandsAreEnabledOnlyWhenTheyCanActAndRefusalsSayWhy) {
    DocumentWindow* window = session->newDocument();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QWidget* canvas = &window->canvasWidget();
    QGuiApplication::clipboard()->clear();
    const auto enabled = [window] {
        QStringList names;
        for (const char* name :
             {"cutAction", "copyAction", "pasteAction", "addNodeAction", "editNodeAction",
              "deleteTreeAction", "swapNodeAction", "changeParentAction", "boldEdgeAction"}) {
            if (window->action(QString::fromLatin1(name))->isEnabled()) {
                names << QString::fromLatin1(name).chopped(6);
            }
        }
        return names.join(u' ');
    };
    EXPECT_EQ(enabled(), "addNode");
    answerInputAlert(std::nullopt); // keeps the new root's text
    QTest::keyClick(canvas, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));             // back from the dialog
    EXPECT_EQ(enabled(), "cut copy addNode editNode deleteTree"); // the new root is selected
    QTest::keyClick(canvas, Qt::Key_Escape);
    QTest::keyClick(canvas, Qt::Key_Return, Qt::ControlModifier); // a second root is refused
    EXPECT_EQ(enabled(), "copy addNode");
    QGuiApplication::clipboard()->setText(QStringLiteral("[A b]"));
    EXPECT_EQ(enabled(), "copy paste addNode");
    // A disabled command's shortcut does nothing.
    log.take();
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_EQ(log.lines(), std::vector<std::string>{});

    clickNode(*window, u"0");
    EXPECT_EQ(enabled(), "cut copy paste addNode editNode deleteTree");
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(enabled(), "cut copy paste addNode editNode deleteTree swapNode changeParent "
                         "boldEdge");
    // A press beside the nodes clears the selection.
    QWidget* viewport = window->canvasWidget().viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() - 2, 2));
    EXPECT_EQ(enabled(), "copy paste addNode");
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(enabled(), "cut copy paste addNode editNode deleteTree");

    // A change of parent that cannot be made says why.
    QTest::keyClick(canvas, Qt::Key_Y, Qt::ControlModifier); // the paste again, its top selected
    answerInputAlert(QStringLiteral("7"));
    QTest::keyClick(canvas, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Node 1 cannot move under node 7: there is no such node.");
}

} // namespace

} // namespace lanthor::test
