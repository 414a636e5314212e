#pragma once

#include "platform/Font.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace lanthor {

enum class SaveChangesAnswer { Save, Discard, Cancel };

/// Every question the editor asks besides the input alert, and every failure it shows. The
/// editor asks only through these, so that a test can answer in place of the user;
/// qtEditorPrompts() gives the Qt dialogs.
struct EditorPrompts {
    /// Closing a document with unsaved edits: save them, discard them, or keep the window open.
    std::function<SaveChangesAnswer(QWidget* window, const QString& documentName)> askSaveChanges;
    /// A recovery copy newer than the document (or of an unsaved document) was found: restore it?
    std::function<bool(QWidget* window, const QString& documentName, const QString& savedAt)>
        askRestoreRecovery;
    /// A failure the user must know about: what failed, and why.
    std::function<void(QWidget* window, const QString& text, const QString& reason)> showError;
    /// Something the user should know that did not stop the work: what, and each problem.
    std::function<void(QWidget* window, const QString& text, const QStringList& problems)>
        showWarning;
    /// The tree file to open, or empty.
    std::function<QString(QWidget* window)> chooseOpenPath;
    /// The tree text (labelled brackets or Penn Treebank) to import, or empty.
    std::function<QString(QWidget* window)> chooseImportPath;
    /// Where to save the document, or empty; `suggested` is its present path or name.
    std::function<QString(QWidget* window, const QString& suggested)> chooseSavePath;
    /// Where to export the picture, or empty; the extension names the format.
    std::function<QString(QWidget* window, const QString& suggested)> chooseExportPath;
    /// The font chosen starting from `current`, or none when the user cancels.
    std::function<std::optional<Font>(QWidget* window, const Font& current)> chooseFont;
    /// The About box: the program and its version, then what it is and what it runs on.
    std::function<void(QWidget* window, const QString& text, const QString& details)> showAbout;
};

/// The prompts as Qt's message boxes, file dialogs and font dialog.
EditorPrompts qtEditorPrompts();

} // namespace lanthor
