// Edits are never lost: unsaved edits are asked about, a failed save or open changes no file,
// and the recovery copies bring back what a crash or a killed editor left unsaved.

#include "EditorTestSupport.h"
#include "qtsupport/RunLanthor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>

namespace lanthor::test {

namespace {

QString qPath(const std::string& path) {
    return QString::fromStdString(path);
}

TEST_F(EditorTest, ClosingOrQuittingWithUnsavedEditsAsksFirst) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = open(file);
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
    answerInputAlert(std::nullopt); // keeps the new node's text
    trigger(*window, "addNodeAction");
    const std::u16string edited = treeText(*window);

    user.saveAnswers = {SaveChangesAnswer::Cancel, SaveChangesAnswer::Discard};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{window});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{});
    EXPECT_EQ(readFile(file), original);

    window = open(file);
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
    answerInputAlert(std::nullopt);
    trigger(*window, "addNodeAction");
    user.saveAnswers = {SaveChangesAnswer::Save};
    EXPECT_TRUE(window->close());
    ASSERT_NE(open(file), nullptr);
    EXPECT_EQ(treeText(*session->windows().front()), edited);

    // Quitting asks window by window and stops at the first whose edits the user keeps; an
    // untitled document asks where to go, then takes that file's name.
    DocumentWindow* second = session->newDocument();
    answerInputAlert(std::nullopt);
    trigger(*second, "addNodeAction");
    DocumentWindow* third = session->newDocument();
    answerInputAlert(std::nullopt);
    trigger(*third, "addNodeAction");
    user.saveAnswers = {SaveChangesAnswer::Save, SaveChangesAnswer::Cancel};
    user.paths = {qPath(dir.file("new tree.csv"))};
    EXPECT_FALSE(session->closeAll());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{third});
    EXPECT_EQ(user.asked.mid(3), (QStringList{"save changes: Untitled",
                                              "save as: " + QDir::home().filePath("Untitled.csv"),
                                              "save changes: Untitled 2"}));
    user.saveAnswers = {SaveChangesAnswer::Discard};
    EXPECT_TRUE(session->closeAll());
    window = open(dir.file("new tree.csv"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(treeText(*window), u"0,,R,New Tree!\n");
    EXPECT_EQ(session->recentFiles().paths(),
              (QStringList{window->filePath(), QFileInfo(qPath(file)).canonicalFilePath()}));
}

TEST_F(EditorTest, AFailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = open(file);
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
    answerInputAlert(std::nullopt);
    trigger(*window, "addNodeAction");

    // Files may not grow past 16 bytes for a moment, even for root: the new text cannot be
    // written out.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{16, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    trigger(*window, "saveAction");
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(readFile(file), original);
    EXPECT_EQ(QDir(qPath(dir.path().string())).entryList(QDir::Files | QDir::Hidden),
              QStringList{"syntax-tree.csv"});
    EXPECT_EQ(user.errors,
              QStringList{"The document “syntax-tree” could not be saved. | " + window->filePath() +
                          ": cannot write " + window->filePath() + ": File too large"});
    user.saveAnswers = {SaveChangesAnswer::Discard}; // the edits are still unsaved
    EXPECT_TRUE(window->close());
}

TEST_F(EditorTest, AFileThatCannotBeReadOpensNothingAndSaysWhy) {
    const std::string broken = dir.write("broken.csv", "0,1,R,\"open quote\n1,,0,x\n");
    EXPECT_EQ(open(broken), nullptr);
    EXPECT_EQ(open(dir.file("missing.csv")), nullptr);
    EXPECT_EQ(user.errors,
              (QStringList{"The document “broken.csv” could not be opened. | " + qPath(broken) +
                               ": a quoted field in record 1 is never closed",
                           "The document “missing.csv” could not be opened. | " +
                               qPath(dir.file("missing.csv")) +
                               ": cannot be read (No such file or directory)"}));
    EXPECT_EQ(readFile(broken), "0,1,R,\"open quote\n1,,0,x\n");
}

TEST_F(EditorTest, AFileThatIsNotOneTreeOpensWithOneWarningAndAReadOnlyOneIsNotReplaced) {
    const std::string path = dir.write("<img src=x.png>.csv", "0,1 9,R,a\n1,,0,b\n1,,0,c\n");
    DocumentWindow* window = open(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(user.warnings,
              QStringList{"The document “<img src=x.png>.csv” is not one tree as written. | row 2: "
                          "node \"1\" is numbered again in row 3: row 2 will not be kept / node "
                          "\"0\" (row 1) lists \"9\", which is no node: it is left out of the "
                          "drawing"});
    // Read-only: refused with the reason, and Save As offered instead.
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    clickNode(*window, u"1");
    trigger(*window, "deleteTreeAction");
    user.paths = {QString::fromStdString(dir.file("copy.csv"))};
    trigger(*window, "saveAction");
    EXPECT_EQ(user.errors,
              QStringList{"The document “<img src=x.png>” could not be saved. | " + qPath(path) +
                          " is read-only. Choose another name to save it under."});
    EXPECT_EQ(readFile(path), "0,1 9,R,a\n1,,0,b\n1,,0,c\n");
    EXPECT_EQ(readFile(dir.file("copy.csv")), treeFileBytes(u"0,9 ,R,a\n"));
    // A refused level height says why in the status bar, and changes nothing.
    answerInputAlert(QStringLiteral("0"));
    trigger(*window, "levelHeightAction");
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "The level height must be a whole number from 1 to 10000, not “0”.");
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(EditorTest, TreeTextIsImportedAsANewDocumentAndExportedAsTextOrLatex) {
    DocumentWindow* window =
        session->importDocument(qPath(dir.write("t.brackets", "[S [NP John] [VP runs]]\n")));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(treeText(*window), u"0,1 3 ,R,S\n1,2 ,0,NP\n2,,0,John\n3,4 ,0,VP\n4,,0,runs\n");
    EXPECT_TRUE(window->isWindowModified()); // in no tree file yet
    user.paths = {qPath(dir.file("out.ptb")), qPath(dir.file("out.qtree"))};
    trigger(*window, "exportAsAction");
    trigger(*window, "exportAsAction");
    EXPECT_EQ(readFile(dir.file("out.ptb")), "(S (NP John) (VP runs))\n");
    EXPECT_EQ(readFile(dir.file("out.qtree")), "\\Tree [.{S} [.{NP} {John} ] [.{VP} {runs} ] ]\n");
    // Text that does not read opens nothing and says where.
    const std::string bad = dir.write("bad.ptb", "(S (NP John)\n");
    user.paths = {qPath(bad)};
    trigger(*window, "importAction");
    EXPECT_EQ(user.errors,
              QStringList{"The tree text “bad.ptb” could not be imported. | " + qPath(bad) +
                          ": line 1, column 1: unclosed '(': expected "
                          "')' before the end of the text"});
}

TEST(EditorPrompts, MessageBoxesShowNamesAndReasonsAsPlainText) {
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                shown << label->text() + (label->textFormat() == Qt::PlainText ? "" : " (rich)");
            }
        }
        box->accept();
    });
    qtEditorPrompts().showError(nullptr, QStringLiteral("“<img src=x.png>.csv” failed."),
                                QStringLiteral("<b>bold?</b>"));
    EXPECT_EQ(shown, (QStringList{"“<img src=x.png>.csv” failed.", "<b>bold?</b>"}));
}

/// The recovery copies in `folder`, waiting up to ten seconds for the first one to appear with
/// its description (written just after the copy).
QStringList waitForCopies(const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    QStringList copies;
    while (clock.elapsed() < 10000) {
        QTest::qWait(50);
        copies = QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files);
        if (!copies.isEmpty() &&
            QDir(folder).entryList({QStringLiteral("*.info")}, QDir::Files).size() ==
                copies.size()) {
            break;
        }
    }
    return copies;
}

TEST_F(EditorTest, EditsAreCopiedForRecoveryAndOfferedBackAfterACrash) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = open(file);
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"12");
    answerInputAlert(QStringLiteral("under"));
    trigger(*window, "editNodeAction");
    const std::u16string edited = treeText(*window);

    // About two seconds after the edit; never over the document itself.
    ASSERT_EQ(waitForCopies(paths.recoveryDirectory), QStringList{window->recoveryKey() + ".csv"});
    const QString copy = paths.recoveryDirectory + "/" + window->recoveryKey() + ".csv";
    EXPECT_EQ(readFile(copy.toStdString()), window->document().dataOfType());
    EXPECT_EQ(readFile(file), original);

    // The editor ends without closing its window, as when it crashes: the copy stays.
    session = startSession();
    user.restoreAnswers = {true};
    window = open(file);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(user.asked, QStringList{"restore: syntax-tree"});
    EXPECT_EQ(treeText(*window), edited);
    EXPECT_TRUE(window->isWindowModified());

    // Discarding the edits on close removes the copy; the file opens as it was.
    user.saveAnswers = {SaveChangesAnswer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_NE(open(file), nullptr);
    EXPECT_EQ(readFile(file), original);
    EXPECT_EQ(user.asked.size(), 2); // the restore question and the save question only
}

TEST_F(EditorTest, AKilledEditorsUnsavedDocumentIsOfferedAtTheNextStart) {
    // The real editor adds the first node to a new document, then is killed before any save.
    const std::string root = dir.path().string();
    const pid_t editor = startLanthor({{"--trigger", "addNodeAction"}, root}, root);
    const QStringList copies = waitForCopies(paths.recoveryDirectory);
    ::kill(editor, SIGKILL);
    int status = 0;
    ::waitpid(editor, &status, 0);
    ASSERT_EQ(copies.size(), 1) << readFile(dir.file("stderr"));
    EXPECT_TRUE(WIFSIGNALED(status));

    // The next start offers it back, as an untitled document with unsaved edits.
    user.restoreAnswers = {true};
    EXPECT_EQ(session->offerUnsavedUntitled(), 1);
    EXPECT_EQ(user.asked, QStringList{"restore: Untitled"});
    ASSERT_EQ(session->windows().size(), 1u);
    const DocumentWindow& restored = *session->windows().front();
    EXPECT_EQ(treeText(restored), u"0,,R,New Tree!\n");
    EXPECT_TRUE(restored.isWindowModified());
    EXPECT_TRUE(restored.filePath().isEmpty());

    // Until it is saved or closed, the copy stays for a later start; refused, it goes.
    session = startSession();
    user.restoreAnswers = {false};
    EXPECT_EQ(session->offerUnsavedUntitled(), 0);
    EXPECT_EQ(QDir(paths.recoveryDirectory).entryList({QStringLiteral("*.csv")}, QDir::Files),
              QStringList());
}

} // namespace

} // namespace lanthor::test
