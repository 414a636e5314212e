#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// Exit statuses of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitInputFailed = 1; ///< the input could not be opened, read or parsed
inline constexpr int kExitUsage = 2;

/// Runs the `lanthor` command line: a subcommand, or the editor.
int runCli(int argc, char** argv);

/// Reports bad usage: the problem on one line, then the usage text. Returns kExitUsage.
int usageError(const std::string& problem);

} // namespace lanthor
