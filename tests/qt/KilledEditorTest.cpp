#include "EditorTestSupport.h"
#include "editor/DocumentWindow.h"
#include "model/TreeTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lanthor::test {

namespace {

/// Starts the built editor with `args`, its data, settings and home in `root`, on the offscreen
/// platform; its output goes to files in `root`.
pid_t startEditor(const std::string& root, const std::vector<std::string>& args) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (variable.rfind("HOME=", 0) != 0 && variable.rfind("XDG_", 0) != 0 &&
            variable.rfind("QT_QPA_PLATFORM=", 0) != 0) {
            environment.push_back(variable);
        }
    }
    environment.push_back("HOME=" + root);
    environment.push_back("XDG_DATA_HOME=" + root + "/data");
    environment.push_back("XDG_CONFIG_HOME=" + root + "/config");
    environment.push_back("QT_QPA_PLATFORM=offscreen");

    std::vector<std::string> argvStrings{LANTHOR_BINARY};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (root + "/stdout").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (root + "/stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, LANTHOR_BINARY, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

/// The recovery copies in `folder`; waits up to ten seconds for the first one.
QStringList waitForCopies(const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    QStringList copies;
    while (copies.isEmpty() && clock.elapsed() < 10000) {
        QTest::qWait(100);
        copies = QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files);
    }
    return copies;
}

} // namespace

TEST_F(EditorTest, AKilledEditorsUnsavedDocumentIsOfferedAtTheNextStart) {
    // The real editor adds the first node to a new document, then is killed before any save.
    const pid_t editor = startEditor(dir.path().string(), {"--trigger", "addNodeAction"});
    ASSERT_GT(editor, 0);
    const QStringList copies = waitForCopies(paths().recoveryDirectory);
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
    EXPECT_EQ(QDir(paths().recoveryDirectory).entryList({QStringLiteral("*.csv")}, QDir::Files),
              QStringList());
}

} // namespace lanthor::test
