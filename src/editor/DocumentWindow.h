#pragma once

#include "qtgui/CanvasExport.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace lanthor {

class CanvasWidget;
class EditorSession;
class FerrowLanthorDocument;

/// The window of one document: its canvas, the File, Edit, View, Tree and Help menus, the toolbar
/// of tree commands, saving, exporting, the clipboard, and the recovery copy of unsaved edits. A
/// command that is refused says why in the status bar. The actions have stable object names
/// ("addNodeAction", "saveAction", ...) for scripts and tests.
class DocumentWindow final : public QMainWindow {
public:
    /// Shows `document`, read from `filePath` (empty for an untitled document). `recoveryKey`
    /// names its recovery copy in the session's store.
    DocumentWindow(EditorSession& session, std::unique_ptr<FerrowLanthorDocument> document,
                   QString filePath, QString recoveryKey);
    ~DocumentWindow() override;

    FerrowLanthorDocument& document() const { return *document_; }
    CanvasWidget& canvasWidget() const { return *canvasWidget_; }
    /// The document's file, absolute; empty while untitled.
    const QString& filePath() const { return filePath_; }
    const QString& recoveryKey() const { return recoveryKey_; }
    /// The action with that object name, or null.
    QAction* action(const QString& name) const;

    /// Marks the document edited though no command changed it (its content came from a
    /// recovery copy or from standard input) and writes its recovery copy at once.
    void markUnsaved();
    /// Writes the recovery copy now, if the document has unsaved edits.
    void writeRecoveryCopy();

    /// Saves to the document's file, or asks for one when it has none. False when not saved.
    bool save();
    /// Asks for a file and saves there; the document then belongs to that file.
    bool saveAs();
    /// Writes the document to `path` atomically; on success the document belongs to `path`
    /// and is no longer edited. A failure is shown and gives false.
    bool saveTo(const QString& path);
    /// Exports the picture as JPEG to the Desktop, named after the document.
    void exportToDesktop();
    /// Asks for a file and exports the picture there, in the format its extension names.
    void exportAs();
    /// Writes the picture to `path` in `format`; a failure is shown and gives false.
    bool exportTo(const QString& path, ExportFormat format);

    /// Enables each command exactly when it can act: the tree commands when a node is selected
    /// (Swap, Change Parent and Bold Edge when it has a parent), Copy when the tree has nodes,
    /// Paste when the clipboard may hold trees, Undo and Redo when there is a step, which they
    /// name. The window calls it after every command and every change, and after each click and
    /// key on the canvas widget, whose events it watches; whatever else changes the selection
    /// must call it too.
    void updateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Command;
    /// What a command needs to act; without it, it is disabled.
    enum class Needs { Nothing, Node, NodeWithParent, Nodes, TreesOnClipboard };
    /// The window's commands, in DocumentWindowCommands.cpp.
    std::vector<Command> commands();
    /// Builds the menus, the toolbar and the node menu from commands().
    void buildCommands();
    QAction* makeAction(const Command& command);
    /// Names the steps that Undo and Redo would take ("Undo Delete Tree"), or disables them.
    void updateUndoActions();
    /// Adds a node as the Add command does, then selects it, shows it and asks for its text.
    void addNodeAndEdit();
    /// Puts the picture and the text of the selected subtree (of the whole tree when nothing is
    /// selected) on the clipboard; returns what was done, for the status bar: `verb` and what.
    QString putSelectionOnClipboard(const QString& verb);
    void copy();
    /// Copies, then deletes what was copied: one step to undo.
    void cut();
    /// Adds the trees on the clipboard under the selected node, or as new roots.
    void paste();
    void showRefusal(const QString& reason);
    void fillRecentMenu(QMenu* menu);
    void fitToScreen();
    void documentEdited();
    void updateTitle();
    /// Asks what to do with unsaved edits; true when the window may close.
    bool settleUnsavedEdits();
    QString displayName() const;

    EditorSession& session_;
    std::unique_ptr<FerrowLanthorDocument> document_;
    QString filePath_;
    QString recoveryKey_;
    CanvasWidget* canvasWidget_;
    QTimer recoveryTimer_;
    std::vector<std::pair<QAction*, Needs>> conditionalActions_;
    bool clipboardMayHoldTrees_ = false;
};

} // namespace lanthor
