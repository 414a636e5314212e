#pragma once

// The editor's classes come with it: the tests drive them.
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/CanvasWidget.h"
#include "editor/DocumentWindow.h"
#include "editor/EditorSession.h"
#include "editor/QtInputAlert.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

/// Failed comparisons of Qt strings print the text.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

namespace lanthor::test {

/// Answers the editor's questions in place of the user, from queues filled by the test, and
/// records what was asked and shown. A question with no answer queued fails the test and is
/// answered with Cancel (or no file, no font).
struct ScriptedPrompts {
    std::deque<SaveChangesAnswer> saveAnswers;
    std::deque<bool> restoreAnswers;
    std::deque<QString> paths; ///< for the open, save and export file choosers
    std::deque<std::optional<Font>> fonts;

    QStringList asked;    ///< one line per question: its kind and the document's name
    QStringList errors;   ///< one line per failure shown: "text | reason"
    QStringList warnings; ///< one line per warning shown: "text | problem / problem ..."
    QStringList about;    ///< one line per About box shown: "text | details"

    EditorPrompts prompts();
};

/// A real editor session, windows and all, on the run's Qt application: recovery copies,
/// settings and home in a fresh folder per test, the user's answers scripted.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A copy of examples/syntax-tree.csv in the test's folder.
    std::string exampleCopy() const;
    /// The session's window on the file at `path`, or null as the session's own open gives.
    DocumentWindow* open(const std::string& path);
    /// The same window, made the active one, as the user's keys need; null when it is not.
    DocumentWindow* openActive(const std::string& path);
    /// A new session on the test's folder, as a fresh start of the editor.
    std::unique_ptr<EditorSession> startSession();

    TempDir dir;
    /// Where the editor keeps them with the XDG_DATA_HOME and XDG_CONFIG_HOME of SetUp.
    const EditorPaths paths{QString::fromStdString(dir.file("data/lanthor/recovery")),
                            QString::fromStdString(dir.file("config/lanthor/recent-files.ini"))};
    ScriptedPrompts user;
    LogCapture log;
    QtInputAlertInstallation inputAlertDialog; // the editor's own dialog answers questions
    std::unique_ptr<EditorSession> session;
};

/// Runs the window's action of that object name, as its menu item or toolbar button does.
void trigger(const DocumentWindow& window, const char* action);
/// The node `number` of the window's document, or null.
std::shared_ptr<Tree> nodeOf(const DocumentWindow& window, std::u16string_view number);
/// The view of node `number` on the window's canvas, once laid out.
std::shared_ptr<LanthorNodeView> nodeView(const DocumentWindow& window, std::u16string_view number);
/// Clicks the centre of the node's view with the left button, on the canvas's viewport: a
/// press and release, or with `twice` the whole of a double click.
void clickNode(const DocumentWindow& window, std::u16string_view number, bool twice = false);
/// Answers the next input alert that opens: types `text` into its field and presses Return, or
/// Cancel when `text` is none. Records the alert's prompt and offered text in `seen`.
void answerInputAlert(std::optional<QString> text, QStringList* seen = nullptr);
/// The document's tree as tree-file text.
std::u16string treeText(const DocumentWindow& window);

} // namespace lanthor::test
