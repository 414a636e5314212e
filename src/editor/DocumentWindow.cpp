#include "DocumentWindow.h"

#include "CanvasWidget.h"
#include "EditorSession.h"
#include "canvas/LanthorConfiguration.h"
#include "document/FerrowLanthorDocument.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace lanthor {

namespace {

/// How long after an edit its recovery copy is written.
constexpr int kRecoveryDelayMs = 2000;

QString withShortcut(const QString& tip, const QList<QKeySequence>& shortcuts) {
    if (shortcuts.isEmpty()) {
        return tip;
    }
    return QStringLiteral("%1 (%2)").arg(tip,
                                         shortcuts.constFirst().toString(QKeySequence::NativeText));
}

} // namespace

DocumentWindow::DocumentWindow(EditorSession& session,
                               std::unique_ptr<FerrowLanthorDocument> document, QString filePath,
                               QString recoveryKey)
    : session_(session), document_(std::move(document)), filePath_(std::move(filePath)),
      recoveryKey_(std::move(recoveryKey)), scrollArea_(new QScrollArea(this)),
      canvasWidget_(new CanvasWidget(*document_, session.textSystem())) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("documentWindow"));

    scrollArea_->setObjectName(QStringLiteral("canvasScrollArea"));
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setBackgroundRole(QPalette::Base);
    scrollArea_->setWidget(canvasWidget_);
    setCentralWidget(scrollArea_);

    buildFileMenu();
    buildTreeCommands();
    statusBar()->showMessage(
        QStringLiteral("Click a node to select it, double-click to edit its text."));

    recoveryTimer_.setSingleShot(true);
    recoveryTimer_.setInterval(kRecoveryDelayMs);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { writeRecoveryCopy(); });
    document_->setEditedHandler([this] { documentEdited(); });

    updateTitle();
    fitToScreen();
}

DocumentWindow::~DocumentWindow() {
    document_->setEditedHandler(nullptr);
    // The canvas refers to the document: it goes first.
    delete scrollArea_;
    session_.forget(this);
}

QString DocumentWindow::displayName() const {
    return QString::fromStdU16String(document_->displayName());
}

QAction* DocumentWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

QAction* DocumentWindow::makeAction(QMenu* menu, const char* name, const QString& text,
                                    const QList<QKeySequence>& shortcuts, const QString& tip,
                                    const std::function<void()>& run) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(shortcuts);
    action->setToolTip(withShortcut(tip, shortcuts));
    action->setStatusTip(tip);
    if (run) {
        connect(action, &QAction::triggered, this, run);
    }
    menu->addAction(action);
    return action;
}

void DocumentWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    makeAction(file, "newAction", QStringLiteral("&New"), {QKeySequence::New},
               QStringLiteral("Open a new, empty document"), [this] { session_.newDocument(); });
    makeAction(file, "openAction", QStringLiteral("&Open..."), {QKeySequence::Open},
               QStringLiteral("Open a tree file"), [this] {
                   const QString path = session_.prompts().chooseOpenPath(this);
                   if (!path.isEmpty()) {
                       session_.openDocument(path, this);
                   }
               });
    QMenu* recent = file->addMenu(QStringLiteral("Open &Recent"));
    recent->setObjectName(QStringLiteral("recentMenu"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    file->addSeparator();
    makeAction(file, "saveAction", QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
               QStringLiteral("Save the document"), [this] { save(); });
    makeAction(file, "saveAsAction", QStringLiteral("Save &As..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
               QStringLiteral("Save the document in another file"), [this] { saveAs(); });
    file->addSeparator();
    makeAction(file, "exportAction", QStringLiteral("&Export"),
               {QKeySequence(Qt::CTRL | Qt::Key_E)},
               QStringLiteral("Save the picture as a JPEG image on your Desktop"),
               [this] { exportToDesktop(); });
    makeAction(file, "exportAsAction", QStringLiteral("Export As..."), {},
               QStringLiteral("Save the picture as a JPEG, PNG, SVG or PDF file of your choice"),
               [this] { exportAs(); });
    file->addSeparator();
    makeAction(file, "closeAction", QStringLiteral("&Close"), {QKeySequence(Qt::CTRL | Qt::Key_W)},
               QStringLiteral("Close this window"), [this] { close(); });
    makeAction(file, "quitAction", QStringLiteral("&Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)},
               QStringLiteral("Close every window and quit"), [this] {
                   if (session_.closeAll()) {
                       QApplication::quit();
                   }
               });
}

void DocumentWindow::buildTreeCommands() {
    QMenu* tree = menuBar()->addMenu(QStringLiteral("&Tree"));
    FerrowLanthorDocument& document = *document_;
    QAction* add = makeAction(
        tree, "addNodeAction", QStringLiteral("&Add Node"),
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
        QStringLiteral("Add a child under the selected node (in an empty document, the first "
                       "node)"),
        [&document] { document.addNode(); });
    QAction* edit = makeAction(tree, "editNodeAction", QStringLiteral("&Edit Node..."),
                               {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_Return)},
                               QStringLiteral("Change the text of the selected node"),
                               [&document] { document.editNode(); });
    QAction* remove = makeAction(tree, "deleteTreeAction", QStringLiteral("&Delete Tree"),
                                 {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)},
                                 QStringLiteral("Delete the selected node and everything below it"),
                                 [&document] { document.deleteTree(); });
    QAction* swap = makeAction(
        tree, "swapNodeAction", QStringLiteral("&Swap"), {QKeySequence(Qt::CTRL | Qt::Key_Right)},
        QStringLiteral("Move the selected node one place to the right among its siblings"),
        [&document] { document.swapNode(); });
    QAction* reparent =
        makeAction(tree, "changeParentAction", QStringLiteral("Change &Parent..."),
                   {QKeySequence(Qt::CTRL | Qt::Key_P)},
                   QStringLiteral("Move the selected node with everything below it under "
                                  "another node, given by its number"),
                   [&document] { document.changeParent(); });
    QAction* bold = makeAction(
        tree, "boldEdgeAction", QStringLiteral("&Bold Edge"), {QKeySequence(Qt::CTRL | Qt::Key_B)},
        QStringLiteral("Draw the edge into the selected node bold, or thin again"),
        [&document] { document.toogleLineWidth(); });
    tree->addSeparator();
    QAction* numbers = makeAction(tree, "nodeNumbersAction", QStringLiteral("Node &Numbers"),
                                  {QKeySequence(Qt::CTRL | Qt::Key_3)},
                                  QStringLiteral("Show or hide the node numbers"), {});
    numbers->setCheckable(true);
    connect(numbers, &QAction::triggered, this, [this, numbers, &document] {
        document.toggleNodeNumber();
        numbers->setChecked(document.mConfiguration() &&
                            document.mConfiguration()->showNodeNumber());
    });
    QAction* height = makeAction(tree, "levelHeightAction", QStringLiteral("Level &Height..."),
                                 {QKeySequence(Qt::CTRL | Qt::Key_H)},
                                 QStringLiteral("Change the distance between the tree's levels"),
                                 [&document] { document.changeHeight(); });
    QAction* font = makeAction(
        tree, "fontAction", QStringLiteral("&Font..."), {QKeySequence(Qt::CTRL | Qt::Key_T)},
        QStringLiteral("Change the font of the node texts"), [this] {
            const Font current = document_->mConfiguration()->font();
            const std::optional<Font> chosen = session_.prompts().chooseFont(this, current);
            if (chosen) {
                document_->changeFont([&chosen](const Font&) { return *chosen; });
            }
        });

    // Short labels keep the whole toolbar in view; the menu has the full names.
    add->setIconText(QStringLiteral("Add"));
    edit->setIconText(QStringLiteral("Edit"));
    remove->setIconText(QStringLiteral("Delete"));
    numbers->setIconText(QStringLiteral("Numbers"));
    height->setIconText(QStringLiteral("Height"));
    QToolBar* toolbar = addToolBar(QStringLiteral("Tree"));
    toolbar->setObjectName(QStringLiteral("treeToolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setMovable(false);
    toolbar->addActions({add, edit, remove, swap, reparent, bold});
    toolbar->addSeparator();
    toolbar->addActions({numbers, height, font});
    toolbar->addSeparator();
    toolbar->addAction(action(QStringLiteral("exportAction")));

    canvasWidget_->setNodeActions({add, edit, remove, swap, reparent, bold});
}

void DocumentWindow::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList paths = session_.recentFiles().paths();
    for (const QString& path : paths) {
        QAction* open = menu->addAction(QFileInfo(path).fileName());
        open->setToolTip(path);
        open->setStatusTip(path);
        connect(open, &QAction::triggered, this,
                [this, path] { session_.openDocument(path, this); });
    }
    if (paths.isEmpty()) {
        menu->addAction(QStringLiteral("No Recent Documents"))->setEnabled(false);
        return;
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Clear Menu")), &QAction::triggered, this,
            [this] { session_.recentFiles().clear(); });
}

void DocumentWindow::fitToScreen() {
    // Large enough for the toolbar and the tree as first laid out, within most of the screen.
    canvasWidget_->displayIfNeeded();
    QSize wanted = canvasWidget_->minimumSize() + QSize(40, 120);
    if (const auto* toolbar = findChild<QToolBar*>(QStringLiteral("treeToolBar"))) {
        wanted.setWidth(std::max(wanted.width(), toolbar->sizeHint().width() + 20));
    }
    QSize limit(1400, 900);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        limit = limit.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(wanted.expandedTo(QSize(640, 480)).boundedTo(limit));
}

void DocumentWindow::updateTitle() {
    setWindowTitle(
        QStringLiteral("%1[*] — %2").arg(displayName(), QApplication::applicationDisplayName()));
    setWindowModified(document_->isEdited());
}

void DocumentWindow::documentEdited() {
    setWindowModified(document_->isEdited());
    // Not restarted by later edits: a steady stream of edits still gets its copy written.
    if (document_->isEdited() && !recoveryTimer_.isActive()) {
        recoveryTimer_.start();
    }
}

void DocumentWindow::markUnsaved() {
    document_->setEdited(true);
    setWindowModified(true);
    writeRecoveryCopy();
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (!settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    recoveryTimer_.stop();
    session_.recovery().remove(recoveryKey_);
    session_.forget(this);
    event->accept();
}

bool DocumentWindow::settleUnsavedEdits() {
    if (!document_->isEdited()) {
        return true;
    }
    switch (session_.prompts().askSaveChanges(this, displayName())) {
    case SaveChangesAnswer::Save:
        return save();
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        return false;
    }
    return false;
}

} // namespace lanthor
