#include "editor/DocumentWindow.h"

#include "EditorTestSupport.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/CanvasWidget.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace lanthor::test {

namespace {

std::shared_ptr<Tree> nodeOf(const DocumentWindow& window, std::u16string_view number) {
    return window.document().treeTable()->nodeDictionary()->find(number);
}

void trigger(const DocumentWindow& window, const char* name) {
    QAction* action = window.action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

} // namespace

TEST_F(EditorTest, TheToolbarAndMenusRunTheTreeCommands) {
    DocumentWindow* window = session->openDocument(QString::fromStdString(exampleCopy()));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("syntax-tree[*] — lanthor_tests"));

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
    EXPECT_EQ(nodeOf(*window, u"17")->nodeValue(), u"New Node!");
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_NE(nodeView(*window, u"17"), nullptr); // laid out at the next pass

    trigger(*window, "boldEdgeAction");
    EXPECT_TRUE(nodeOf(*window, u"8")->head());
    trigger(*window, "deleteTreeAction");
    EXPECT_EQ(nodeOf(*window, u"8"), nullptr);
    EXPECT_EQ(nodeOf(*window, u"17"), nullptr);
    EXPECT_EQ(nodeOf(*window, u"4")->childrenList(), std::vector<std::u16string>{});

    clickNode(*window, u"1");
    trigger(*window, "swapNodeAction");
    EXPECT_EQ(nodeOf(*window, u"0")->childrenList(), (std::vector<std::u16string>{u"2", u"1"}));

    // The questions go through the input alert, a real dialog here.
    QStringList seen;
    answerInputAlert(QStringLiteral("6"), &seen);
    trigger(*window, "changeParentAction");
    EXPECT_EQ(nodeOf(*window, u"6")->childrenList(),
              (std::vector<std::u16string>{u"10", u"11", u"1"}));
    answerInputAlert(QStringLiteral("80"), &seen);
    trigger(*window, "levelHeightAction");
    EXPECT_EQ(window->document().mConfiguration()->height(), 80);
    EXPECT_EQ(seen, (QStringList{"Select new Parent | 0", "Change Tree Height | 60"}));

    QAction* numbers = window->action(QStringLiteral("nodeNumbersAction"));
    numbers->trigger();
    EXPECT_TRUE(window->document().mConfiguration()->showNodeNumber());
    EXPECT_TRUE(numbers->isChecked());
    EXPECT_EQ(nodeView(*window, u"2")->textStorage().string(), u"[2]VP");

    user.fonts.push_back(Font(u"Liberation Serif", 20, FontTraitItalic));
    trigger(*window, "fontAction");
    EXPECT_EQ(user.asked.last(), QStringLiteral("font: Helvetica 15"));
    EXPECT_EQ(window->document().mConfiguration()->font(),
              Font(u"Liberation Serif", 20, FontTraitItalic));
    // Cancelling the font dialog changes nothing.
    user.fonts.push_back(std::nullopt);
    log.take();
    trigger(*window, "fontAction");
    EXPECT_EQ(window->document().mConfiguration()->font(),
              Font(u"Liberation Serif", 20, FontTraitItalic));
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
}

TEST_F(EditorTest, TheInputAlertOffersTheTextInAWideFieldWithOkAsDefault) {
    QSize fieldSize;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        fieldSize = dialog->findChild<QLineEdit*>(QStringLiteral("inputAlertField"))->size();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            buttons << button->text() + (button->isDefault() ? QStringLiteral(" (default)") : "");
        }
        dialog->reject();
    });
    EXPECT_EQ(inputAlert().run(u"Update Node", u"Det"), std::nullopt);
    EXPECT_EQ(fieldSize, QSize(400, 48));
    EXPECT_EQ(buttons, (QStringList{"OK (default)", "Cancel"}));

    answerInputAlert(QString());
    EXPECT_EQ(inputAlert().run(u"Update Node", u"Det"), std::u16string());
    answerInputAlert(QStringLiteral("Déterminant <i>x</i>"));
    EXPECT_EQ(inputAlert().run(u"Update Node", u""), u"Déterminant <i>x</i>");
}

} // namespace lanthor::test
