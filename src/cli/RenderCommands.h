#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// `lanthor layout FILE [view options]`: one drawing pass, then the node views' frames and
/// texts and the edges as NDJSON.
int runLayoutCommand(const std::vector<std::string>& args);

/// `lanthor export FILE -o OUT [view options]`: draws the tree and writes it as JPEG, PNG, SVG
/// or PDF by OUT's extension.
int runExportCommand(const std::vector<std::string>& args);

} // namespace lanthor
