#include "EditorTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>

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
    trigger(*window, "addNodeAction");
    user.saveAnswers = {SaveChangesAnswer::Save};
    EXPECT_TRUE(window->close());
    ASSERT_NE(open(file), nullptr);
    EXPECT_EQ(treeText(*session->windows().front()), edited);

    // Quitting asks window by window and stops at the first whose edits the user keeps; an
    // untitled document asks where to go, then takes that file's name.
    DocumentWindow* second = session->newDocument();
    trigger(*second, "addNodeAction");
    DocumentWindow* third = session->newDocument();
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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("new tree[*] — lanthor_qt_tests"));
    EXPECT_EQ(session->recentFiles().paths(),
              (QStringList{window->filePath(), QFileInfo(qPath(file)).canonicalFilePath()}));
}

TEST_F(EditorTest, AFailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = open(file);
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
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
    EXPECT_TRUE(window->isWindowModified());
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
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{});
    EXPECT_EQ(user.errors,
              (QStringList{"The document “broken.csv” could not be opened. | " + qPath(broken) +
                               ": a quoted field in record 1 is never closed",
                           "The document “missing.csv” could not be opened. | " +
                               qPath(dir.file("missing.csv")) +
                               ": cannot be read (No such file or directory)"}));
    EXPECT_EQ(readFile(broken), "0,1,R,\"open quote\n1,,0,x\n");
}

} // namespace

} // namespace lanthor::test
