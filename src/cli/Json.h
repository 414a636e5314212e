#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lanthor {

/// Appends `text` as a JSON string literal: quotes and backslashes escaped, \b \f \n \r \t,
/// other control characters and unpaired surrogates as \u with lower-case hex digits, and
/// everything else as itself in UTF-8.
void appendJsonString(std::string& out, std::u16string_view text);
void appendJsonString(std::string& out, std::string_view asciiText);

/// Appends the shortest decimal that reads back as the same double (20, 35.5, 2.5).
void appendJsonNumber(std::string& out, double number);
void appendJsonNumber(std::string& out, std::int64_t number);
void appendJsonNumber(std::string& out, std::uint64_t number);

} // namespace lanthor
