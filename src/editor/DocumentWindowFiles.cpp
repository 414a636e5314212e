// Saving, exporting and the recovery copy of a document window.

#include "CanvasWidget.h"
#include "DocumentWindow.h"
#include "EditorSession.h"
#include "base/AtomicFile.h"
#include "base/Log.h"
#include "canvas/LanthorDocumentView.h"
#include "document/FerrowLanthorDocument.h"
#include "model/TreeFormats.h"
#include "model/TreeTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

namespace lanthor {

namespace {

/// How long a message stays in the status bar.
constexpr int kMessageMs = 8000;

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

/// Writes the canvas's whole drawing. The canvas draws its edges only in a pass that lays the
/// tree out, so the export's pass must be one; the tree has not changed since the window's
/// last pass, so the layout and the picture are the ones on screen.
std::optional<std::string> writePicture(LanthorDocumentView& canvas, const std::string& path,
                                        ExportFormat format, std::string* notice) {
    canvas.setUpdated(true);
    return exportCanvas(canvas, path, format, notice);
}

QString exportedMessage(const QString& path, const std::string& notice) {
    return notice.empty()
               ? QStringLiteral("Exported to %1").arg(path)
               : QStringLiteral("Exported to %1 (%2)").arg(path, QString::fromStdString(notice));
}

} // namespace

bool DocumentWindow::save() {
    if (filePath_.isEmpty()) {
        return saveAs();
    }
    return saveTo(filePath_);
}

bool DocumentWindow::saveAs() {
    const QString suggested = filePath_.isEmpty()
                                  ? QDir::home().filePath(displayName() + QStringLiteral(".csv"))
                                  : filePath_;
    const QString path = session_.prompts().chooseSavePath(this, suggested);
    return !path.isEmpty() && saveTo(path);
}

bool DocumentWindow::saveTo(const QString& requested) {
    const QString path = QFileInfo(requested).absoluteFilePath();
    if (isReadOnlyFile(localPath(path))) {
        // Never replaced behind the user's back: another name is the way out.
        session_.prompts().showError(
            this, QStringLiteral("The document “%1” could not be saved.").arg(displayName()),
            QStringLiteral("%1 is read-only. Choose another name to save it under.").arg(path));
        return saveAs();
    }
    if (const std::optional<std::string> error =
            writeFileAtomically(localPath(path), document_->dataOfType())) {
        session_.prompts().showError(
            this, QStringLiteral("The document “%1” could not be saved.").arg(displayName()),
            QStringLiteral("%1: %2").arg(path, QString::fromStdString(*error)));
        return false;
    }
    recoveryTimer_.stop();
    session_.recovery().remove(recoveryKey_);
    if (path != filePath_) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        filePath_ = canonical.isEmpty() ? path : canonical;
        recoveryKey_ = RecoveryStore::keyForDocument(filePath_);
        document_->setDisplayName(QFileInfo(filePath_).completeBaseName().toStdU16String());
    }
    session_.recentFiles().add(filePath_);
    document_->setEdited(false);
    updateTitle();
    statusBar()->showMessage(QStringLiteral("Saved to %1").arg(filePath_), kMessageMs);
    return true;
}

void DocumentWindow::exportToDesktop() {
    canvasWidget_->displayIfNeeded();
    std::string written;
    std::string notice;
    const std::optional<std::string> error = document_->exportImage(
        [&written, &notice](LanthorDocumentView& canvas, const std::string& path) {
            written = path;
            return writePicture(canvas, path, ExportFormat::Jpeg, &notice);
        });
    if (error) {
        // The writer's reasons do not name the file; the document's own ones come before it.
        const QString reason = QString::fromStdString(*error);
        session_.prompts().showError(
            this, QStringLiteral("The picture could not be exported."),
            written.empty()
                ? reason
                : QStringLiteral("%1: %2").arg(QFile::decodeName(written.c_str()), reason));
        return;
    }
    statusBar()->showMessage(exportedMessage(QFile::decodeName(written.c_str()), notice),
                             kMessageMs);
}

void DocumentWindow::exportAs() {
    const QString suggested =
        QDir::home().filePath(QStringLiteral("Desktop/") + displayName() + QStringLiteral(".jpg"));
    const QString path = session_.prompts().chooseExportPath(this, suggested);
    if (path.isEmpty()) {
        return;
    }
    // The tree as text or LaTeX, or else the picture.
    if (const std::optional<TreeFormat> text = treeFormatOfPath(localPath(path));
        text && text != TreeFormat::Csv) {
        if (const std::optional<std::string> error = writeFileAtomically(
                localPath(path), treeFormatBytes(*document_->treeTable(), *text))) {
            session_.prompts().showError(
                this, QStringLiteral("The tree could not be exported."),
                QStringLiteral("%1: %2").arg(path, QString::fromStdString(*error)));
            return;
        }
        statusBar()->showMessage(QStringLiteral("Exported to %1").arg(path), kMessageMs);
        return;
    }
    const std::optional<ExportFormat> format = exportFormatForPath(localPath(path));
    if (!format) {
        session_.prompts().showError(
            this, QStringLiteral("The picture could not be exported."),
            QStringLiteral("%1: the name must end in .jpg, .jpeg, .png, .svg, .pdf, .brackets, "
                           ".ptb, .tex or .qtree")
                .arg(path));
        return;
    }
    exportTo(path, *format);
}

bool DocumentWindow::exportTo(const QString& path, ExportFormat format) {
    canvasWidget_->displayIfNeeded();
    std::string notice;
    if (const std::optional<std::string> error =
            writePicture(canvasWidget_->canvas(), localPath(path), format, &notice)) {
        session_.prompts().showError(
            this, QStringLiteral("The picture could not be exported."),
            QStringLiteral("%1: %2").arg(path, QString::fromStdString(*error)));
        return false;
    }
    statusBar()->showMessage(exportedMessage(path, notice), kMessageMs);
    return true;
}

void DocumentWindow::writeRecoveryCopy() {
    recoveryTimer_.stop();
    if (!document_->isEdited()) {
        return;
    }
    if (const std::optional<std::string> error =
            session_.recovery().write(recoveryKey_, filePath_, document_->dataOfType())) {
        // Not a dialog: this runs unasked every few seconds. The edits themselves are intact.
        logLine("cannot write the recovery copy of " + toUtf8(document_->displayName()) + ": " +
                *error);
        statusBar()->showMessage(QStringLiteral("Your unsaved changes could not be backed up: %1")
                                     .arg(QString::fromStdString(*error)),
                                 kMessageMs);
    }
}

} // namespace lanthor
