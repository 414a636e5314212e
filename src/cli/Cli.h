#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// Exit statuses of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitInputFailed = 1; ///< the input could not be opened, read or parsed
inline constexpr int kExitUsage = 2;

/// True when the arguments start with a subcommand (or asks for help); else they are the editor's.
bool namesSubcommand(const std::vector<std::string>& args);
/// Runs the subcommand that the arguments start with (namesSubcommand must hold). Returns the
/// exit status.
int runSubcommand(const std::vector<std::string>& args);

/// How messages name an input file: "standard input" for "-", else the path as given.
std::string displayName(const std::string& file);

/// Writes "lanthor: <message>" as one line on standard error, after the log lines held.
void printError(const std::string& message);

/// Reports bad usage: the problem on one line, then the usage text. Returns kExitUsage.
int usageError(const std::string& problem);

} // namespace lanthor
