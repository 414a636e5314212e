#pragma once

#include <string>
#include <vector>

namespace lanthor {

/// `lanthor csv [--options N] [--delimiter C] [--events] FILE`: prints the rows the CSV file
/// reader gives, or every parser event, as NDJSON.
int runCsvCommand(const std::vector<std::string>& args);

} // namespace lanthor
