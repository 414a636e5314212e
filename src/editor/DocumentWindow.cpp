#include "DocumentWindow.h"

#include "CanvasWidget.h"
#include "EditorSession.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "qtgui/TreeClipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace lanthor {

namespace {

/// How long after an edit its recovery copy is written.
constexpr int kRecoveryDelayMs = 2000;
/// How long the reason a command was refused stays in the status bar.
constexpr int kRefusalMessageMs = 8000;

} // namespace

DocumentWindow::DocumentWindow(EditorSession& session,
                               std::unique_ptr<FerrowLanthorDocument> document, QString filePath,
                               QString recoveryKey)
    : session_(session), document_(std::move(document)), filePath_(std::move(filePath)),
      recoveryKey_(std::move(recoveryKey)),
      canvasWidget_(new CanvasWidget(*document_, session.textSystem(), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("documentWindow"));

    setCentralWidget(canvasWidget_);
    canvasWidget_->setFocus();

    buildCommands();
    // Clicks and keys on the canvas change the selection, which the commands depend on.
    canvasWidget_->setSelectionHandler([this] { updateCommandStates(); });
    // Read once per change: asking another application's clipboard takes a round trip.
    const auto followClipboard = [this] {
        const QMimeData* content = QGuiApplication::clipboard()->mimeData();
        clipboardMayHoldTrees_ = content && mayHoldTrees(*content);
        updateCommandStates();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, followClipboard);
    followClipboard();
    statusBar()->showMessage(
        QStringLiteral("Click a node to select it, double-click to edit its text."));

    recoveryTimer_.setSingleShot(true);
    recoveryTimer_.setInterval(kRecoveryDelayMs);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { writeRecoveryCopy(); });
    document_->setEditedHandler([this] { documentEdited(); });
    document_->setRefusalHandler(
        [this](const std::string& reason) { showRefusal(QString::fromStdString(reason)); });

    updateTitle();
    fitToScreen();
}

DocumentWindow::~DocumentWindow() {
    document_->setEditedHandler(nullptr);
    document_->setRefusalHandler(nullptr);
    // The canvas refers to the document: it goes first.
    delete canvasWidget_;
    session_.forget(this);
}

QString DocumentWindow::displayName() const {
    return QString::fromStdU16String(document_->displayName());
}

QAction* DocumentWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void DocumentWindow::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList paths = session_.recentFiles().paths();
    for (const QString& path : paths) {
        // A file name is shown as it is: an ampersand in it is no shortcut mark.
        QAction* open = menu->addAction(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&")));
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
    QSize wanted = canvasWidget_->drawingSize() + QSize(40, 120);
    if (const auto* toolbar = findChild<QToolBar*>(QStringLiteral("treeToolBar"))) {
        wanted.setWidth(std::max(wanted.width(), toolbar->sizeHint().width() + 20));
    }
    QSize limit(1400, 900);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        limit = limit.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(wanted.expandedTo(QSize(640, 480)).boundedTo(limit));
}

void DocumentWindow::addNodeAndEdit() {
    // The table numbers a new node so.
    const std::u16string number = document_->treeTable()->nextNodeNumber();
    document_->addNode();
    const NodeDictionary* nodes = document_->treeTable()->nodeDictionary();
    const std::shared_ptr<Tree> added = nodes ? nodes->find(number) : nullptr;
    if (!added) {
        return;
    }
    canvasWidget_->displayIfNeeded(); // lays the new node out
    if (const std::shared_ptr<LanthorNodeView> view = nodeViewOf(*added)) {
        canvasWidget_->select(view);
        // The new node is on screen before its dialog covers the window.
        canvasWidget_->viewport()->repaint();
        document_->editNode();
    }
}

void DocumentWindow::updateTitle() {
    // A "[*]" in the name is text, not the place of the unsaved-edits mark.
    QString name = displayName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(QStringLiteral("%1[*] — %2").arg(name, QApplication::applicationDisplayName()));
    setWindowModified(document_->isEdited());
}

void DocumentWindow::updateUndoActions() {
    const UndoHistory& history = document_->undoHistory();
    const auto update = [this](const char* name, const QString& verb, const std::string& step) {
        QAction* action = this->action(QString::fromLatin1(name));
        action->setText(step.empty() ? verb : verb + u' ' + QString::fromStdString(step));
        action->setEnabled(!step.empty());
    };
    update("undoAction", QStringLiteral("&Undo"), history.undoName());
    update("redoAction", QStringLiteral("&Redo"), history.redoName());
}

void DocumentWindow::updateCommandStates() {
    const FerrowLanthorDocument::Selection selection = document_->selection();
    const auto met = [this, selection](Needs needs) {
        switch (needs) {
        case Needs::Nothing:
            return true;
        case Needs::Node:
            return selection != FerrowLanthorDocument::Selection::None;
        case Needs::NodeWithParent:
            return selection == FerrowLanthorDocument::Selection::NodeWithParent;
        case Needs::Nodes:
            return document_->nodeCount() > 0;
        case Needs::TreesOnClipboard:
            return clipboardMayHoldTrees_;
        }
        return false;
    };
    for (const auto& [action, needs] : conditionalActions_) {
        action->setEnabled(met(needs));
    }
    updateUndoActions();
}

void DocumentWindow::showRefusal(const QString& reason) {
    statusBar()->showMessage(reason, kRefusalMessageMs);
}

void DocumentWindow::documentEdited() {
    updateCommandStates();
    setWindowModified(document_->isEdited());
    if (!document_->isEdited()) {
        // Undone back to what the file holds: a copy written meanwhile would offer edits that
        // no longer exist.
        recoveryTimer_.stop();
        session_.recovery().remove(recoveryKey_);
        return;
    }
    // Not restarted by later edits: a steady stream of edits still gets its copy written.
    if (!recoveryTimer_.isActive()) {
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
