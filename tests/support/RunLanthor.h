#pragma once

#include <string>
#include <vector>

namespace lanthor::test {

struct CommandResult {
    int exitStatus = -1; ///< the exit code, or -1 when the process did not exit normally
    std::string out;     ///< everything written to standard output
    std::string err;     ///< everything written to standard error
};

/// Runs the built `lanthor` binary with `args`, feeding it `input` on standard input, and waits
/// for it to end.
CommandResult runLanthor(const std::vector<std::string>& args, const std::string& input = {});

/// Splits text into its lines, without their line feeds.
std::vector<std::string> linesOf(const std::string& text);

} // namespace lanthor::test
