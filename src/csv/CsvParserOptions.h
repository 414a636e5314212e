#pragma once

#include <cstdint>

namespace lanthor {

/// Parse options as a bitmask; bits other than these four are ignored.
using CsvParserOptions = std::uint64_t;
inline constexpr CsvParserOptions CsvParserOptionsRecognizesBackslashesAsEscapes = 1;
inline constexpr CsvParserOptions CsvParserOptionsSanitizesFields = 2;
inline constexpr CsvParserOptions CsvParserOptionsRecognizesComments = 4;
inline constexpr CsvParserOptions CsvParserOptionsStripsLeadingAndTrailingWhitespace = 8;

} // namespace lanthor
