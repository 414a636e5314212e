#pragma once

#include <cstdint>
#include <string_view>

namespace lanthor {

/// The decimal integer at the start of `text`, as a number field reads its text: blanks (spaces,
/// tabs, line ends) skipped, then an optional '+' or '-', then ASCII digits up to the first
/// other character. Values beyond the 64-bit range give the nearest limit; text that does not
/// begin that way gives 0.
std::int64_t leadingInteger(std::u16string_view text);

} // namespace lanthor
