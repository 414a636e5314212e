#include "qtsupport/RunLanthor.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace lanthor::test {

pid_t startLanthor(const LanthorRun& run, const std::string& streamFolder) {
    const std::string in = streamFolder + "/stdin";
    writeBytes(in, run.input);
    const std::string out = streamFolder + "/stdout";
    const std::string err = streamFolder + "/stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!run.folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, run.folder.c_str());
    }

    std::vector<std::string> args{LANTHOR_BINARY};
    args.insert(args.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, LANTHOR_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot run " LANTHOR_BINARY);
    }
    return pid;
}

CommandResult runLanthor(const LanthorRun& run) {
    const TempDir streams;
    const pid_t pid = startLanthor(run, streams.path().string());
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(streams.file("stdout")),
            readFile(streams.file("stderr"))};
}

} // namespace lanthor::test
