#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace lanthor {

/// The recovery copies of documents with unsaved edits, in one folder: for each document a
/// tree file "<key>.csv" with its unsaved content and "<key>.info" naming the document's file
/// (none for an untitled document) and the editor process that wrote it. A copy is never
/// written over the document itself; it is removed when the document is saved or closed.
class RecoveryStore {
public:
    /// A copy found in the folder.
    struct Copy {
        QString key;
        QString copyPath;     ///< the tree file holding the unsaved content
        QString documentPath; ///< empty for an untitled document
        QDateTime savedAt;
    };

    explicit RecoveryStore(QString directory);

    const QString& directory() const { return directory_; }
    /// The key of the copy of the document at `documentPath` (an absolute path).
    static QString keyForDocument(const QString& documentPath);
    /// A key for an untitled document of this process that no other document uses.
    QString newUntitledKey();

    /// Replaces the copy under `key` by `bytes`, each file atomically. Returns why it failed.
    std::optional<std::string> write(const QString& key, const QString& documentPath,
                                     const std::string& bytes) const;
    void remove(const QString& key) const;

    /// The copy of the document at `documentPath` when it was written after the document
    /// file was last changed.
    std::optional<Copy> newerCopyOf(const QString& documentPath) const;
    /// The copies of untitled documents whose editor is no longer running, oldest first.
    std::vector<Copy> orphanedUntitledCopies() const;

private:
    QString copyPath(const QString& key) const;
    QString infoPath(const QString& key) const;
    std::optional<Copy> read(const QString& key, qint64* writerProcess) const;

    QString directory_;
    int untitledCount_ = 0;
};

} // namespace lanthor
