#pragma once

#include "EditorPrompts.h"
#include "RecentFiles.h"
#include "RecoveryStore.h"

#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace lanthor {

class DocumentWindow;
class FerrowLanthorDocument;
class TextSystem;

/// Where the editor keeps what outlives it.
struct EditorPaths {
    QString recoveryDirectory;
    QString settingsFile;

    /// The application's data and configuration folders (QStandardPaths).
    static EditorPaths standard();
};

/// The open document windows of one editor process, and what they share: the text system,
/// the prompts, the recovery copies and the recent files. New and Open make windows here;
/// quitting closes them all, each asking about its unsaved edits.
class EditorSession {
public:
    /// `textSystem` must outlive the session.
    EditorSession(const TextSystem& textSystem, EditorPrompts prompts, const EditorPaths& paths);
    /// Closes the remaining windows without asking.
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    /// A window with a new document without nodes, named "Untitled" ("Untitled 2" and so on
    /// for the later ones).
    DocumentWindow* newDocument();
    /// A window with the tree file at `path` ("-" reads standard input into an untitled
    /// document). A file already open brings its window to the front. A file that cannot be
    /// read or parsed opens nothing: the user is told why and the result is null. When a
    /// recovery copy of the file is newer than the file, the user may restore it.
    DocumentWindow* openDocument(const QString& path, QWidget* asking = nullptr);
    /// Reads labelled brackets or Penn Treebank text (by the file's extension) into a new,
    /// untitled document with unsaved edits; or, when it does not read, says why (line and
    /// column) and opens nothing.
    DocumentWindow* importDocument(const QString& path, QWidget* asking = nullptr);
    /// Offers each recovery copy of an untitled document left by an editor that ended without
    /// closing it; a restored one opens in a window, a refused one is removed. Returns the
    /// count of windows opened. Meant for start-up, before any window of this process exists.
    int offerUnsavedUntitled();
    /// Closes every window, each asking about unsaved edits; false when one stays open.
    bool closeAll();

    const std::vector<DocumentWindow*>& windows() const { return windows_; }
    const TextSystem& textSystem() const { return textSystem_; }
    const EditorPrompts& prompts() const { return prompts_; }
    RecoveryStore& recovery() { return recovery_; }
    RecentFiles& recentFiles() { return recentFiles_; }
    /// "Untitled" for the first new document, then "Untitled 2", "Untitled 3", ...
    QString nextUntitledName();

    /// Called by a window as it goes away.
    void forget(DocumentWindow* window);

private:
    DocumentWindow* show(std::unique_ptr<FerrowLanthorDocument> document, const QString& path,
                         const QString& recoveryKey);
    /// Tells the user, in one warning, what keeps the document just read from being one tree
    /// (and which rows will not be kept); nothing for a file that is one tree.
    void warnIfNotOneTree(const FerrowLanthorDocument& document, QWidget* asking,
                          const QString& what);

    const TextSystem& textSystem_;
    EditorPrompts prompts_;
    RecoveryStore recovery_;
    RecentFiles recentFiles_;
    std::vector<DocumentWindow*> windows_;
    int untitledCount_ = 0;
};

} // namespace lanthor
