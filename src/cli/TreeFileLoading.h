#pragma once

#include <string>

namespace lanthor {

class TreeTable;

/// Loads a tree file ("-" for standard input) into `table`. When it cannot be loaded, the
/// table's own log line is followed by the file and the reason on standard error, and the
/// result is kExitInputFailed; otherwise kExitSuccess, after one "warning:" line on standard
/// error for each thing that keeps the file from being one tree.
int loadTreeFile(const std::string& file, TreeTable& table);

} // namespace lanthor
