#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace lanthor::test {

/// One run of the built `lanthor` binary, in the test's environment.
struct LanthorRun {
    std::vector<std::string> args{}; ///< after the program name
    std::string folder{};            ///< the working folder; empty for the test's own
    std::string input{};             ///< the bytes on standard input
};

struct CommandResult {
    int exitStatus = -1; ///< the exit code, or -1 when the process did not exit normally
    std::string out;     ///< everything written to standard output
    std::string err;     ///< everything written to standard error
};

/// Starts the run without waiting for it. Its standard input, output and error are the files
/// `stdin`, `stdout` and `stderr` in `streamFolder`: files rather than pipes, so that nothing
/// blocks however much it writes. Throws when it cannot be started.
pid_t startLanthor(const LanthorRun& run, const std::string& streamFolder);

/// Runs it to its end.
CommandResult runLanthor(const LanthorRun& run);

} // namespace lanthor::test
