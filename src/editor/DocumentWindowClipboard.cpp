// The clipboard commands of a document window: Copy, Cut and Paste.

#include "DocumentWindow.h"
#include "EditorSession.h"
#include "document/FerrowLanthorDocument.h"
#include "qtgui/TreeClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStatusBar>

namespace lanthor {

namespace {

/// How long a message stays in the status bar.
constexpr int kMessageMs = 8000;

/// Shows the busy cursor while it lives: the picture of a large tree takes a while.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

QString DocumentWindow::putSelectionOnClipboard(const QString& verb) {
    const BusyCursor busy;
    const bool whole = document_->selection() == FerrowLanthorDocument::Selection::None;
    std::string notice;
    std::unique_ptr<QMimeData> content = treeMimeData(
        document_->selectedTrees(), *document_->mConfiguration(), session_.textSystem(), notice);
    QGuiApplication::clipboard()->setMimeData(content.release());
    const QString done =
        verb + (whole ? QStringLiteral(" the whole tree")
                      : QStringLiteral(" the selected node and everything below it"));
    return notice.empty() ? done
                          : QStringLiteral("%1 (%2)").arg(done, QString::fromStdString(notice));
}

void DocumentWindow::copy() {
    statusBar()->showMessage(putSelectionOnClipboard(QStringLiteral("Copied")), kMessageMs);
}

void DocumentWindow::cut() {
    const QString done = putSelectionOnClipboard(QStringLiteral("Cut"));
    document_->cutTree();
    statusBar()->showMessage(done, kMessageMs);
}

void DocumentWindow::paste() {
    const BusyCursor busy;
    const QMimeData* content = QGuiApplication::clipboard()->mimeData();
    if (!content || !mayHoldTrees(*content)) {
        showRefusal(QStringLiteral("Nothing to paste: the clipboard holds no text."));
        return;
    }
    const std::variant<std::shared_ptr<TreeTable>, std::string> trees = treesOfMimeData(*content);
    if (const auto* reason = std::get_if<std::string>(&trees)) {
        showRefusal(QStringLiteral("Nothing to paste: the clipboard holds no tree (%1).")
                        .arg(QString::fromStdString(*reason)));
        return;
    }
    if (!document_->insertTree(std::get<std::shared_ptr<TreeTable>>(trees))) {
        showRefusal(QStringLiteral("Nothing to paste: the clipboard holds no tree."));
    }
}

} // namespace lanthor
