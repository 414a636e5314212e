// The commands of a document window: one table, from which the menus, the toolbar and the
// node menu are built.

#include "CanvasWidget.h"
#include "DocumentWindow.h"
#include "EditorSession.h"
#include "canvas/LanthorConfiguration.h"
#include "document/FerrowLanthorDocument.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QToolBar>
#include <functional>
#include <optional>

namespace lanthor {

/// One command: its action in a menu and, if it says so, on the toolbar and in the menu that a
/// right click on a node opens. An entry with `fillSubmenu` is a submenu instead, filled each
/// time it opens.
struct DocumentWindow::Command {
    enum Menu { FileMenu, EditMenu, ViewMenu, TreeMenu, HelpMenu };
    enum Place { OnToolbar = 1, OnNodes = 2 };

    const char* name = nullptr; ///< the action's object name
    Menu menu = FileMenu;
    bool startsGroup = false; ///< a separator comes before it, in its menu and on the toolbar
    QString text = {};
    QString toolbarText = {}; ///< a shorter label for the toolbar, or empty for the menu's text
    QList<QKeySequence> shortcuts = {};
    QString tip = {};
    int places = 0;
    std::function<void()> run = {};
    Needs needs = Needs::Nothing;
    /// For a command that turns something on and off: whether it is on, read after each run.
    std::function<bool()> isOn = {};
    std::function<void(QMenu*)> fillSubmenu = {};
};

namespace {

QString withShortcut(const QString& tip, const QList<QKeySequence>& shortcuts) {
    if (shortcuts.isEmpty()) {
        return tip;
    }
    return QStringLiteral("%1 (%2)").arg(tip,
                                         shortcuts.constFirst().toString(QKeySequence::NativeText));
}

} // namespace

std::vector<DocumentWindow::Command> DocumentWindow::commands() {
    FerrowLanthorDocument& document = *document_;
    const auto onDocument = [&document](void (FerrowLanthorDocument::*operation)()) {
        return [&document, operation] { (document.*operation)(); };
    };
    // In the toolbar's order: the tree commands, then the file commands (of which the toolbar
    // shows Export), then the view commands. Each menu takes its own commands in this order.
    return {
        // The Edit menu, whose texts name the step to take back or make again
        // (updateUndoActions).
        {.name = "undoAction",
         .menu = Command::EditMenu,
         .text = QStringLiteral("&Undo"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Z)},
         .tip = QStringLiteral("Take back the last change to the tree"),
         .run = onDocument(&FerrowLanthorDocument::undo)},
        {.name = "redoAction",
         .menu = Command::EditMenu,
         .text = QStringLiteral("&Redo"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                       QKeySequence(Qt::CTRL | Qt::Key_Y)},
         .tip = QStringLiteral("Make the last change taken back again"),
         .run = onDocument(&FerrowLanthorDocument::redo)},
        {.name = "cutAction",
         .menu = Command::EditMenu,
         .startsGroup = true,
         .text = QStringLiteral("Cu&t"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_X)},
         .tip = QStringLiteral("Put the selected node and everything below it on the clipboard, "
                               "and delete them"),
         .places = Command::OnNodes,
         .run = [this] { cut(); },
         .needs = Needs::Node},
        {.name = "copyAction",
         .menu = Command::EditMenu,
         .text = QStringLiteral("&Copy"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_C)},
         .tip = QStringLiteral("Put the picture and the text of the selected node and everything "
                               "below it (of the whole tree when nothing is selected) on the "
                               "clipboard"),
         .places = Command::OnNodes,
         .run = [this] { copy(); },
         .needs = Needs::Nodes},
        {.name = "pasteAction",
         .menu = Command::EditMenu,
         .text = QStringLiteral("&Paste"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_V)},
         .tip = QStringLiteral("Add the trees on the clipboard under the selected node (as new "
                               "trees when nothing is selected)"),
         .places = Command::OnNodes,
         .run = [this] { paste(); },
         .needs = Needs::TreesOnClipboard},
        {.name = "addNodeAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Add Node"),
         .toolbarText = QStringLiteral("Add"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Return),
                       QKeySequence(Qt::CTRL | Qt::Key_Enter)},
         .tip = QStringLiteral("Add a child under the selected node (in an empty document, the "
                               "first node)"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = [this] { addNodeAndEdit(); }},
        {.name = "editNodeAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Edit Node..."),
         .toolbarText = QStringLiteral("Edit"),
         .shortcuts = {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_Return)},
         .tip = QStringLiteral("Change the text of the selected node"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::editNode),
         .needs = Needs::Node},
        {.name = "deleteTreeAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Delete Tree"),
         .toolbarText = QStringLiteral("Delete"),
         .shortcuts = {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)},
         .tip = QStringLiteral("Delete the selected node and everything below it"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::deleteTree),
         .needs = Needs::Node},
        {.name = "swapNodeAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Swap"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Right)},
         .tip = QStringLiteral("Move the selected node one place to the right among its siblings"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::swapNode),
         .needs = Needs::NodeWithParent},
        {.name = "changeParentAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("Change &Parent..."),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_P)},
         .tip = QStringLiteral("Move the selected node with everything below it under another "
                               "node, given by its number"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::changeParent),
         .needs = Needs::NodeWithParent},
        {.name = "boldEdgeAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Bold Edge"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_B)},
         .tip = QStringLiteral("Draw the edge into the selected node bold, or thin again"),
         .places = Command::OnToolbar | Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::toogleLineWidth),
         .needs = Needs::NodeWithParent},
        {.name = "roofAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Roof"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_R)},
         .tip = QStringLiteral("Draw one triangle over the selected node's children instead of "
                               "their edges, or their edges again"),
         .places = Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::toggleRoof),
         .needs = Needs::Node},
        {.name = "addArrowAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("Add A&rrow..."),
         .tip = QStringLiteral("Draw a movement arrow from the selected node to another node, "
                               "given by its number"),
         .places = Command::OnNodes,
         .run = [&document] { document.addArrow(); },
         .needs = Needs::Node},
        {.name = "removeArrowsAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("Remove Arro&ws"),
         .tip = QStringLiteral("Remove the movement arrows that leave the selected node"),
         .places = Command::OnNodes,
         .run = onDocument(&FerrowLanthorDocument::removeArrows),
         .needs = Needs::Node},
        {.name = "nodeNumbersAction",
         .menu = Command::TreeMenu,
         .startsGroup = true,
         .text = QStringLiteral("Node &Numbers"),
         .toolbarText = QStringLiteral("Numbers"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_3)},
         .tip = QStringLiteral("Show or hide the node numbers"),
         .places = Command::OnToolbar,
         .run = onDocument(&FerrowLanthorDocument::toggleNodeNumber),
         .isOn =
             [&document] {
                 return document.mConfiguration() && document.mConfiguration()->showNodeNumber();
             }},
        {.name = "alignLeavesAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Align Leaves"),
         .tip = QStringLiteral("Draw every leaf on the bottom row"),
         .run = onDocument(&FerrowLanthorDocument::toggleAlignLeaves),
         .isOn =
             [&document] {
                 return document.mConfiguration() && document.mConfiguration()->alignLeaves();
             }},
        {.name = "tuckLeavesAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("T&uck Leaves"),
         .tip = QStringLiteral("Draw a leaf that is its parent's only child right under it, "
                               "without an edge"),
         .run = onDocument(&FerrowLanthorDocument::toggleTuckLeaves),
         .isOn =
             [&document] {
                 return document.mConfiguration() && document.mConfiguration()->tuckLeaves();
             }},
        {.name = "levelHeightAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("Level &Height..."),
         .toolbarText = QStringLiteral("Height"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_H)},
         .tip = QStringLiteral("Change the distance between the tree's levels"),
         .places = Command::OnToolbar,
         .run = onDocument(&FerrowLanthorDocument::changeHeight)},
        {.name = "fontAction",
         .menu = Command::TreeMenu,
         .text = QStringLiteral("&Font..."),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_T)},
         .tip = QStringLiteral("Change the font of the node texts"),
         .places = Command::OnToolbar,
         .run =
             [this, &document] {
                 const Font current = document.mConfiguration()->font();
                 const std::optional<Font> chosen = session_.prompts().chooseFont(this, current);
                 if (chosen) {
                     document.changeFont([&chosen](const Font&) { return *chosen; });
                 }
             }},

        {.name = "newAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("&New"),
         .shortcuts = {QKeySequence::New},
         .tip = QStringLiteral("Open a new, empty document"),
         .run = [this] { session_.newDocument(); }},
        {.name = "openAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("&Open..."),
         .shortcuts = {QKeySequence::Open},
         .tip = QStringLiteral("Open a tree file"),
         .run =
             [this] {
                 const QString path = session_.prompts().chooseOpenPath(this);
                 if (!path.isEmpty()) {
                     session_.openDocument(path, this);
                 }
             }},
        {.name = "importAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("&Import..."),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
         .tip = QStringLiteral("Open labelled brackets or Penn Treebank text as a new document"),
         .run =
             [this] {
                 const QString path = session_.prompts().chooseImportPath(this);
                 if (!path.isEmpty()) {
                     session_.importDocument(path, this);
                 }
             }},
        {.name = "recentMenu",
         .menu = Command::FileMenu,
         .text = QStringLiteral("Open &Recent"),
         .fillSubmenu = [this](QMenu* menu) { fillRecentMenu(menu); }},
        {.name = "saveAction",
         .menu = Command::FileMenu,
         .startsGroup = true,
         .text = QStringLiteral("&Save"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_S)},
         .tip = QStringLiteral("Save the document"),
         .run = [this] { save(); }},
        {.name = "saveAsAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("Save &As..."),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         .tip = QStringLiteral("Save the document in another file"),
         .run = [this] { saveAs(); }},
        {.name = "exportAction",
         .menu = Command::FileMenu,
         .startsGroup = true,
         .text = QStringLiteral("&Export"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_E)},
         .tip = QStringLiteral("Save the picture as a JPEG image on your Desktop"),
         .places = Command::OnToolbar,
         .run = [this] { exportToDesktop(); }},
        {.name = "exportAsAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("Export As..."),
         .tip = QStringLiteral("Save the picture as a JPEG, PNG, SVG or PDF file of your choice"),
         .run = [this] { exportAs(); }},
        {.name = "closeAction",
         .menu = Command::FileMenu,
         .startsGroup = true,
         .text = QStringLiteral("&Close"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_W)},
         .tip = QStringLiteral("Close this window"),
         .run = [this] { close(); }},
        {.name = "quitAction",
         .menu = Command::FileMenu,
         .text = QStringLiteral("&Quit"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Q)},
         .tip = QStringLiteral("Close every window and quit"),
         .run =
             [this] {
                 if (session_.closeAll()) {
                     QApplication::quit();
                 }
             }},

        {.name = "zoomInAction",
         .menu = Command::ViewMenu,
         .text = QStringLiteral("Zoom &In"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Equal),
                       QKeySequence(Qt::CTRL | Qt::Key_Plus)},
         .tip = QStringLiteral("Show the tree larger"),
         .run = [this] { canvasWidget_->zoomIn(); }},
        {.name = "zoomOutAction",
         .menu = Command::ViewMenu,
         .text = QStringLiteral("Zoom &Out"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
         .tip = QStringLiteral("Show the tree smaller"),
         .run = [this] { canvasWidget_->zoomOut(); }},
        {.name = "actualSizeAction",
         .menu = Command::ViewMenu,
         .text = QStringLiteral("&Actual Size"),
         .shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_0)},
         .tip = QStringLiteral("Show the tree at its actual size"),
         .run = [this] { canvasWidget_->actualSize(); }},
        {.name = "fitToWindowAction",
         .menu = Command::ViewMenu,
         .text = QStringLiteral("&Fit to Window"),
         .tip = QStringLiteral("Show the whole tree in the window"),
         .run = [this] { canvasWidget_->fitToWindow(); }},

        {.name = "aboutAction",
         .menu = Command::HelpMenu,
         .text = QStringLiteral("&About Lanthor"),
         .tip = QStringLiteral("Show Lanthor's version"),
         .run =
             [this] {
                 session_.prompts().showAbout(
                     this, QStringLiteral("Lanthor " LANTHOR_VERSION),
                     QStringLiteral("An editor for tree diagrams, such as the syntax trees of "
                                    "linguistics.\nQt %1")
                         .arg(QString::fromLatin1(qVersion())));
             }},
    };
}

void DocumentWindow::buildCommands() {
    QMenu* const menus[] = {
        menuBar()->addMenu(QStringLiteral("&File")), menuBar()->addMenu(QStringLiteral("&Edit")),
        menuBar()->addMenu(QStringLiteral("&View")), menuBar()->addMenu(QStringLiteral("&Tree")),
        menuBar()->addMenu(QStringLiteral("&Help"))};
    QToolBar* toolbar = addToolBar(QStringLiteral("Tree"));
    toolbar->setObjectName(QStringLiteral("treeToolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setMovable(false);
    QList<QAction*> nodeActions;
    std::optional<Command::Menu> lastNodeMenu;
    for (const Command& command : commands()) {
        QMenu* menu = menus[command.menu];
        if (command.startsGroup) {
            menu->addSeparator();
        }
        if (command.fillSubmenu) {
            QMenu* submenu = menu->addMenu(command.text);
            submenu->setObjectName(QString::fromLatin1(command.name));
            connect(submenu, &QMenu::aboutToShow, this,
                    [fill = command.fillSubmenu, submenu] { fill(submenu); });
            continue;
        }
        QAction* action = makeAction(command);
        menu->addAction(action);
        if (command.places & Command::OnToolbar) {
            if (command.startsGroup && !toolbar->actions().isEmpty()) {
                toolbar->addSeparator();
            }
            toolbar->addAction(action);
        }
        if (command.places & Command::OnNodes) {
            // The clipboard's commands apart from the tree's, as in the menu bar.
            if (lastNodeMenu && *lastNodeMenu != command.menu) {
                auto* separator = new QAction(this);
                separator->setSeparator(true);
                nodeActions.append(separator);
            }
            lastNodeMenu = command.menu;
            nodeActions.append(action);
        }
    }
    canvasWidget_->setNodeActions(nodeActions);
}

QAction* DocumentWindow::makeAction(const Command& command) {
    auto* action = new QAction(command.text, this);
    action->setObjectName(QString::fromLatin1(command.name));
    action->setShortcuts(command.shortcuts);
    action->setToolTip(withShortcut(command.tip, command.shortcuts));
    action->setStatusTip(command.tip);
    if (!command.toolbarText.isEmpty()) {
        action->setIconText(command.toolbarText);
    }
    action->setCheckable(bool(command.isOn));
    connect(action, &QAction::triggered, this,
            [this, action, run = command.run, isOn = command.isOn] {
                run();
                if (isOn) {
                    action->setChecked(isOn());
                }
                updateCommandStates();
            });
    if (command.needs != Needs::Nothing) {
        conditionalActions_.emplace_back(action, command.needs);
    }
    return action;
}

} // namespace lanthor
