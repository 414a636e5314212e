#include "EditorSession.h"

#include "DocumentWindow.h"
#include "document/FerrowLanthorDocument.h"
#include "model/TreeFormats.h"
#include "model/TreeTable.h"
#include "model/TreeText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace lanthor {

namespace {

QString describe(const TreeLoadError& error) {
    return QString::fromStdString(error.describe());
}

/// The name a document's window shows: its file's name without the extension.
QString displayNameFor(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

QString savedAtText(const QDateTime& savedAt) {
    return savedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

EditorPaths EditorPaths::standard() {
    return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                QStringLiteral("/recovery"),
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                QStringLiteral("/recent-files.ini")};
}

EditorSession::EditorSession(const TextSystem& textSystem, EditorPrompts prompts,
                             const EditorPaths& paths)
    : textSystem_(textSystem), prompts_(std::move(prompts)), recovery_(paths.recoveryDirectory),
      recentFiles_(paths.settingsFile) {}

EditorSession::~EditorSession() {
    // Windows already closed wait for the event loop to delete them; it may not run again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const std::vector<DocumentWindow*> open = windows_;
    for (DocumentWindow* window : open) {
        delete window;
    }
}

QString EditorSession::nextUntitledName() {
    ++untitledCount_;
    return untitledCount_ == 1 ? QStringLiteral("Untitled")
                               : QStringLiteral("Untitled %1").arg(untitledCount_);
}

DocumentWindow* EditorSession::show(std::unique_ptr<FerrowLanthorDocument> document,
                                    const QString& path, const QString& recoveryKey) {
    auto* window = new DocumentWindow(*this, std::move(document), path, recoveryKey);
    windows_.push_back(window);
    window->show();
    return window;
}

void EditorSession::forget(DocumentWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

DocumentWindow* EditorSession::newDocument() {
    auto document = std::make_unique<FerrowLanthorDocument>();
    document->setDisplayName(nextUntitledName().toStdU16String());
    return show(std::move(document), QString(), recovery_.newUntitledKey());
}

DocumentWindow* EditorSession::openDocument(const QString& requested, QWidget* asking) {
    auto document = std::make_unique<FerrowLanthorDocument>();
    if (requested == QStringLiteral("-")) {
        if (const std::optional<TreeLoadError> error = document->readFromURL("-")) {
            prompts_.showError(asking, QStringLiteral("The standard input could not be opened."),
                               describe(*error));
            return nullptr;
        }
        document->setDisplayName(nextUntitledName().toStdU16String());
        warnIfNotOneTree(*document, asking, QStringLiteral("The standard input"));
        DocumentWindow* window = show(std::move(document), QString(), recovery_.newUntitledKey());
        window->markUnsaved(); // its content is in no file yet
        return window;
    }

    const QFileInfo info(requested);
    const QString path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const auto open = std::find_if(windows_.begin(), windows_.end(), [&](DocumentWindow* window) {
        return window->filePath() == path;
    });
    if (open != windows_.end()) {
        (*open)->raise();
        (*open)->activateWindow();
        return *open;
    }

    if (const std::optional<TreeLoadError> error =
            document->readFromURL(QFile::encodeName(path).toStdString())) {
        prompts_.showError(
            asking, QStringLiteral("The document “%1” could not be opened.").arg(info.fileName()),
            describe(*error));
        return nullptr;
    }
    const QString name = displayNameFor(path);
    document->setDisplayName(name.toStdU16String());
    warnIfNotOneTree(*document, asking, QStringLiteral("The document “%1”").arg(info.fileName()));

    bool restored = false;
    if (const std::optional<RecoveryStore::Copy> copy = recovery_.newerCopyOf(path)) {
        if (prompts_.askRestoreRecovery(asking, name, savedAtText(copy->savedAt))) {
            // On failure the table read from the file stays.
            if (const std::optional<TreeLoadError> error =
                    document->readFromURL(QFile::encodeName(copy->copyPath).toStdString())) {
                prompts_.showError(
                    asking,
                    QStringLiteral("The unsaved changes of “%1” could not be restored.").arg(name),
                    describe(*error));
            } else {
                restored = true;
            }
        }
    }
    recentFiles_.add(path);
    DocumentWindow* window = show(std::move(document), path, RecoveryStore::keyForDocument(path));
    if (restored) {
        window->markUnsaved();
    }
    return window;
}

void EditorSession::warnIfNotOneTree(const FerrowLanthorDocument& document, QWidget* asking,
                                     const QString& what) {
    const std::vector<std::string>& warnings = document.treeTable()->loadWarnings();
    if (warnings.empty()) {
        return;
    }
    QStringList problems;
    for (const std::string& warning : warnings) {
        problems << QString::fromStdString(warning);
    }
    prompts_.showWarning(asking, what + QStringLiteral(" is not one tree as written."), problems);
}

DocumentWindow* EditorSession::importDocument(const QString& path, QWidget* asking) {
    const QString name = QFileInfo(path).fileName();
    const auto fail = [&](const QString& reason) -> DocumentWindow* {
        prompts_.showError(asking,
                           QStringLiteral("The tree text “%1” could not be imported.").arg(name),
                           QStringLiteral("%1: %2").arg(path, reason));
        return nullptr;
    };
    const std::optional<TreeFormat> format =
        treeFormatOfPath(QFile::encodeName(path).toStdString());
    if (format != TreeFormat::Brackets && format != TreeFormat::Penn) {
        return fail(
            QStringLiteral("the name must end in .brackets, .bracket, .ptb, .mrg or .penn"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(file.errorString());
    }
    const QByteArray bytes = file.readAll();
    std::variant<std::u16string, std::string> text =
        decodeTreeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (const auto* problem = std::get_if<std::string>(&text)) {
        return fail(QString::fromStdString(*problem));
    }
    auto read =
        readTreeText(std::get<std::u16string>(text),
                     format == TreeFormat::Penn ? TreeTextFormat::Penn : TreeTextFormat::Brackets);
    if (const auto* error = std::get_if<TreeTextError>(&read)) {
        return fail(QStringLiteral("line %1, column %2: %3")
                        .arg(error->line)
                        .arg(error->column)
                        .arg(QString::fromStdString(error->message)));
    }
    auto document = std::make_unique<FerrowLanthorDocument>();
    document->readFromTable(std::get<std::shared_ptr<TreeTable>>(std::move(read)));
    document->setDisplayName(nextUntitledName().toStdU16String());
    DocumentWindow* window = show(std::move(document), QString(), recovery_.newUntitledKey());
    window->markUnsaved(); // its tree is in no tree file yet
    return window;
}

int EditorSession::offerUnsavedUntitled() {
    int opened = 0;
    for (const RecoveryStore::Copy& copy : recovery_.orphanedUntitledCopies()) {
        const QString name = nextUntitledName();
        if (!prompts_.askRestoreRecovery(nullptr, name, savedAtText(copy.savedAt))) {
            recovery_.remove(copy.key);
            --untitledCount_; // the name was not used
            continue;
        }
        auto document = std::make_unique<FerrowLanthorDocument>();
        if (const std::optional<TreeLoadError> error =
                document->readFromURL(QFile::encodeName(copy.copyPath).toStdString())) {
            prompts_.showError(
                nullptr,
                QStringLiteral("The unsaved document “%1” could not be restored.").arg(name),
                describe(*error));
            --untitledCount_;
            continue;
        }
        document->setDisplayName(name.toStdU16String());
        // The copy keeps its key, so that it stays until this document is saved or closed.
        show(std::move(document), QString(), copy.key)->markUnsaved();
        ++opened;
    }
    return opened;
}

bool EditorSession::closeAll() {
    const std::vector<DocumentWindow*> open = windows_;
    for (DocumentWindow* window : open) {
        if (std::find(windows_.begin(), windows_.end(), window) != windows_.end() &&
            !window->close()) {
            return false;
        }
    }
    return true;
}

} // namespace lanthor
