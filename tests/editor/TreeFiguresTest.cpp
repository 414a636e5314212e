// Roofs, movement arrows and the leaf settings as the window offers them: keys, Alt+click, the
// Tree menu's toggles.

#include "EditorTestSupport.h"
#include "canvas/LanthorConfiguration.h"
#include "document/FerrowLanthorDocument.h"

#include <QAction>
#include <QTest>

namespace lanthor::test {

namespace {

std::u16string attributesOf(const DocumentWindow& window, std::u16string_view number) {
    return std::u16string(nodeOf(window, number)->attributes().text());
}

TEST_F(EditorTest, RoofsArrowsAndLeafSettingsComeFromTheKeysTheMouseAndTheTreeMenu) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = openActive(file);
    ASSERT_NE(window, nullptr);
    CanvasWidget& canvas = window->canvasWidget();

    // Ctrl+R roofs the selected node; an Alt+click on another node draws an arrow to it and
    // keeps the selection.
    clickNode(*window, u"1");
    QTest::keyClick(&canvas, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(attributesOf(*window, u"1"), u"roof");
    clickNode(*window, u"8");
    const Rect target = nodeView(*window, u"16")->frame();
    QTest::mouseClick(canvas.viewport(), Qt::LeftButton, Qt::AltModifier,
                      canvas.viewportPoint({target.minX() + 2, target.minY() + 2}).toPoint());
    EXPECT_EQ(attributesOf(*window, u"8"), u"arrow=16");
    EXPECT_EQ(canvas.canvas().selectedNode(), nodeView(*window, u"8"));
    EXPECT_EQ(window->action(QStringLiteral("undoAction"))->iconText(), "Undo Add Arrow");
    // The canvas grows to hold the arrow, which runs below the lowest row it passes.
    EXPECT_GT(canvas.canvas().drawingBounds().maxY(), target.maxY() + 12);

    // The leaf settings are display settings: words move, the document stays as it was.
    trigger(*window, "undoAction");
    trigger(*window, "undoAction");
    EXPECT_EQ(window->document().dataOfType(), original);
    EXPECT_FALSE(window->isWindowModified());
    const double wordRow = nodeView(*window, u"16")->frame().minY();
    EXPECT_LT(nodeView(*window, u"8")->frame().minY(), wordRow);
    trigger(*window, "alignLeavesAction");
    canvas.displayIfNeeded();
    EXPECT_EQ(nodeView(*window, u"8")->frame().minY(), wordRow); // "cat" joins "mat" below
    EXPECT_TRUE(window->action(QStringLiteral("alignLeavesAction"))->isChecked());
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(window->document().mConfiguration()->alignLeaves());
}

} // namespace

} // namespace lanthor::test
