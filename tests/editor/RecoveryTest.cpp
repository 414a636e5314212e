#include "EditorTestSupport.h"
#include "qtsupport/RunLanthor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <sys/wait.h>

namespace lanthor::test {

namespace {

/// The recovery copies in `folder`, waiting up to ten seconds for the first one to appear.
QStringList waitForCopies(const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    QStringList copies;
    while (copies.isEmpty() && clock.elapsed() < 10000) {
        QTest::qWait(50);
        copies = QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files);
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
