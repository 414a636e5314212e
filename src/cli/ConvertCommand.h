#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// `lanthor convert [--from F] [--to F] [--standalone] IN OUT`: reads a tree in one format and
/// writes it in another; the formats come from the options or from the files' extensions.
int runConvertCommand(const std::vector<std::string>& args);

} // namespace lanthor
