#include "EditorTestSupport.h"

#include <QAction>
#include <QImage>
#include <QToolBar>
#include <cmath>
#include <filesystem>

namespace lanthor::test {

namespace {

TEST_F(EditorTest, TheToolbarsCommandsEditTheTreeThatSavesAndReopens) {
    const std::string file = exampleCopy();
    DocumentWindow* window = open(file);
    ASSERT_NE(window, nullptr);

    // Every tree command is on the toolbar, with a shortcut named in its tooltip.
    const auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("treeToolBar"));
    ASSERT_NE(toolbar, nullptr);
    QStringList onToolbar;
    for (const QAction* action : toolbar->actions()) {
        if (!action->isSeparator()) {
            onToolbar << action->objectName();
            EXPECT_FALSE(action->shortcut().isEmpty()) << action->objectName().toStdString();
            EXPECT_TRUE(action->toolTip().endsWith(
                QStringLiteral("(%1)").arg(action->shortcut().toString(QKeySequence::NativeText))))
                << action->toolTip().toStdString();
        }
    }
    EXPECT_EQ(onToolbar,
              (QStringList{"addNodeAction", "editNodeAction", "deleteTreeAction", "swapNodeAction",
                           "changeParentAction", "boldEdgeAction", "nodeNumbersAction",
                           "levelHeightAction", "fontAction", "exportAction"}));
    EXPECT_EQ(window->action(QStringLiteral("addNodeAction"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_Return));

    clickNode(*window, u"8");
    trigger(*window, "addNodeAction");
    EXPECT_EQ(nodeOf(*window, u"8")->childrenList(), std::vector<std::u16string>{u"17"});
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_NE(nodeView(*window, u"17"), nullptr); // laid out at the next pass
    trigger(*window, "boldEdgeAction");
    EXPECT_TRUE(nodeOf(*window, u"8")->head());
    trigger(*window, "deleteTreeAction");
    EXPECT_EQ(nodeOf(*window, u"8"), nullptr);
    EXPECT_EQ(nodeOf(*window, u"4")->childrenList(), std::vector<std::u16string>{});
    clickNode(*window, u"1");
    trigger(*window, "swapNodeAction");
    EXPECT_EQ(nodeOf(*window, u"0")->childrenList(), (std::vector<std::u16string>{u"2", u"1"}));

    // The questions go through the input alert, a real dialog here; OK on an empty field
    // answers with the empty text.
    QStringList seen;
    answerInputAlert(QStringLiteral("6"), &seen);
    trigger(*window, "changeParentAction");
    EXPECT_EQ(nodeOf(*window, u"6")->childrenList(),
              (std::vector<std::u16string>{u"10", u"11", u"1"}));
    clickNode(*window, u"16");
    answerInputAlert(QString(), &seen);
    trigger(*window, "editNodeAction");
    EXPECT_EQ(nodeOf(*window, u"16")->nodeValue(), u"");
    answerInputAlert(QStringLiteral("mat, <i>rug</i> & \"floor\""));
    trigger(*window, "editNodeAction");
    answerInputAlert(QStringLiteral("80"), &seen);
    trigger(*window, "levelHeightAction");
    EXPECT_EQ(window->document().mConfiguration()->height(), 80);
    EXPECT_EQ(seen, (QStringList{"Select new Parent | 0", "Update Node | <i>mat</i>",
                                 "Change Tree Height | 60"}));

    trigger(*window, "nodeNumbersAction");
    EXPECT_TRUE(window->action(QStringLiteral("nodeNumbersAction"))->isChecked());
    EXPECT_EQ(nodeView(*window, u"2")->textStorage().string(), u"[2]VP");
    // The font dialog starts from the configured font; cancelled, it changes nothing.
    const Font chosen(u"Liberation Serif", 20, FontTraitItalic);
    user.fonts = {chosen, std::nullopt};
    trigger(*window, "fontAction");
    log.take();
    trigger(*window, "fontAction");
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
    EXPECT_EQ(user.asked, (QStringList{"font: Helvetica 15", "font: Liberation Serif 20"}));
    EXPECT_EQ(window->document().mConfiguration()->font(), chosen);

    const std::u16string edited = treeText(*window);
    trigger(*window, "saveAction");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(readFile(file), window->document().dataOfType());
    EXPECT_TRUE(window->close()); // nothing to ask
    window = open(file);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(treeText(*window), edited);
    EXPECT_EQ(nodeOf(*window, u"16")->nodeValue(), u"mat, <i>rug</i> & \"floor\"");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("syntax-tree[*] — lanthor_qt_tests"));
    EXPECT_EQ(user.errors, QStringList());
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

TEST_F(EditorTest, ExportWritesTheWholeDrawingOrSaysWhyNot) {
    // The wide root is centred over its narrow child and reaches left of the canvas's origin.
    DocumentWindow* window = open(dir.write("wide.csv", "0,1,R,A very wide root label\n1,,1,x\n"));
    ASSERT_NE(window, nullptr);
    const LanthorDocumentView& canvas = window->canvasWidget().canvas();
    const Rect extent = canvas.drawingBounds();
    ASSERT_LT(extent.minX(), 0);
    const int originX = -static_cast<int>(std::floor(extent.minX()));
    const QSize drawing(static_cast<int>(std::ceil(extent.maxX())) + originX,
                        static_cast<int>(std::ceil(extent.maxY())));
    trigger(*window, "exportAction");
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("Desktop/wide.jpg")), "JPEG").size(), drawing);

    user.paths = {QString::fromStdString(dir.file("wide.png"))};
    trigger(*window, "exportAsAction");
    const QImage picture(QString::fromStdString(dir.file("wide.png")), "PNG");
    EXPECT_EQ(picture.size(), drawing);
    // White where nothing is drawn; the root's text left of the origin is there; the export's
    // own pass draws the edges too: the bold one runs straight down to the child.
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_GT(darkPixels(picture, QRect(0, 30, originX, 20)), 20);
    double edgeX = 0;
    canvas.forEachEdge([&](const LanthorDocumentView::Edge& edge) { edgeX = edge.from.x; });
    EXPECT_EQ(darkPixels(picture, QRect(originX + static_cast<int>(edgeX), 60, 1, 20)), 20);
    EXPECT_EQ(user.errors, QStringList());

    // A failure is shown: here the Desktop is a file, so the folder cannot be made.
    std::filesystem::remove_all(dir.path() / "Desktop");
    dir.write("Desktop", "not a folder");
    trigger(*window, "exportAction");
    ASSERT_EQ(user.errors.size(), 1);
    EXPECT_TRUE(user.errors[0].startsWith("The picture could not be exported. | Cannot create "
                                          "the folder " +
                                          QString::fromStdString(dir.file("Desktop"))))
        << user.errors[0].toStdString();
    user.paths = {QString::fromStdString(dir.file("picture.gif"))};
    trigger(*window, "exportAsAction");
    EXPECT_EQ(user.errors.last(), "The picture could not be exported. | " +
                                      QString::fromStdString(dir.file("picture.gif")) +
                                      ": the name must end in .jpg, .jpeg, .png, .svg or .pdf");
}

} // namespace

} // namespace lanthor::test
