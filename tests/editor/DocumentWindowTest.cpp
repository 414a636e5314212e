#include "EditorTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

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

    // A new node is selected and its text asked for at once.
    clickNode(*window, u"8");
    QStringList seen;
    answerInputAlert(QStringLiteral("leaf"), &seen);
    trigger(*window, "addNodeAction");
    EXPECT_EQ(nodeOf(*window, u"8")->childrenList(), std::vector<std::u16string>{u"17"});
    EXPECT_EQ(nodeOf(*window, u"17")->nodeValue(), u"leaf");
    EXPECT_EQ(window->canvasWidget().canvas().selectedNode(), nodeView(*window, u"17"));
    clickNode(*window, u"8");
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
    EXPECT_EQ(seen, (QStringList{"Update Node | New Node!", "Select new Parent | 0",
                                 "Update Node | <i>mat</i>", "Change Tree Height | 60"}));

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

TEST_F(EditorTest, HelpAboutShowsTheVersion) {
    DocumentWindow* window = session->newDocument();
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    // Alt+H opens the last menu, Help, whose first item is About.
    QTest::keyClick(window, Qt::Key_H, Qt::AltModifier);
    auto* help = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help, window->menuBar()->actions().last()->menu());
    EXPECT_EQ(help->activeAction(), window->action(QStringLiteral("aboutAction")));
    QTest::keyClick(help, Qt::Key_Return);
    EXPECT_EQ(user.about,
              QStringList{"Lanthor " LANTHOR_VERSION " | An editor for tree diagrams, such as "
                          "the syntax trees of linguistics.\nQt " +
                          QString::fromLatin1(qVersion())});
}

TEST_F(EditorTest, UndoAndRedoFromTheKeysNameTheirStepAndTheTitleMarkerFollows) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = openActive(file);
    ASSERT_NE(window, nullptr);
    QStringList menus;
    for (const QAction* menu : window->menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Tree", "&Help"}));
    const QAction* undo = window->action(QStringLiteral("undoAction"));
    const QAction* redo = window->action(QStringLiteral("redoAction"));
    const auto menuTexts = [undo, redo] {
        return (undo->isEnabled() ? "" : "-") + undo->iconText() + " | " +
               (redo->isEnabled() ? "" : "-") + redo->iconText();
    };
    EXPECT_EQ(menuTexts(), "-Undo | -Redo");

    clickNode(*window, u"6");
    QWidget* canvas = &window->canvasWidget();
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_EQ(nodeOf(*window, u"6"), nullptr);
    EXPECT_EQ(menuTexts(), "Undo Delete Tree | -Redo");
    EXPECT_TRUE(window->isWindowModified());
    window->writeRecoveryCopy();
    const QString copy = paths.recoveryDirectory + "/" + window->recoveryKey() + ".csv";
    EXPECT_TRUE(QFileInfo::exists(copy));

    // Back where the file is: no marker, and no copy that would offer edits no longer there.
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().dataOfType(), original);
    EXPECT_EQ(window->canvasWidget().canvas().selectedNode(), nodeView(*window, u"6"));
    EXPECT_EQ(menuTexts(), "-Undo | Redo Delete Tree");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_FALSE(QFileInfo::exists(copy));
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(nodeOf(*window, u"6"), nullptr);
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(canvas, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(nodeOf(*window, u"6"), nullptr);

    // After a save the saved state is the clean one.
    trigger(*window, "saveAction");
    EXPECT_FALSE(window->isWindowModified());
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(window->document().dataOfType(), original);
    EXPECT_EQ(menuTexts(), "-Undo | Redo Delete Tree");
}

} // namespace

} // namespace lanthor::test
