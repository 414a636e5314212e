#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// `lanthor dump FILE`: the nodes of a tree file as NDJSON, sorted by number.
int runDumpCommand(const std::vector<std::string>& args);

/// `lanthor resave IN OUT`: loads a tree file and saves it exactly as the editor does.
int runResaveCommand(const std::vector<std::string>& args);

} // namespace lanthor
