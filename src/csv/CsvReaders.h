#pragma once

#include "CsvAggregator.h"
#include "CsvParser.h"

#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// Reads a CSV file into rows, detecting its encoding. None after a parse error; a missing,
/// unreadable or empty file gives one row holding one empty field. Throws std::invalid_argument
/// for a delimiter that cannot be used with the options.
std::optional<CsvRows> arrayWithContentsOfCSVFile(const std::string& path,
                                                  CsvParserOptions options = 0,
                                                  char16_t delimiter = u',');

/// Reads CSV text into rows; none after a parse error.
std::optional<CsvRows> csvComponents(std::u16string_view text, CsvParserOptions options = 0,
                                     char16_t delimiter = u',');

/// The rows as CSV text: UTF-8 dialect, comma, one line per row, each ended by a line feed.
std::u16string csvString(const CsvRows& rows);

/// Everything a careful reader needs to know besides the rows: the parse error, whether the text
/// ended before the bytes did, and whether the source could be read at all.
struct CsvReadResult {
    std::optional<CsvRows> rows; ///< exactly what the plain readers return
    std::optional<CsvError> error;
    std::optional<CsvEarlyEnd> earlyEnd;
    std::string streamError; ///< why the file could not be opened or read; empty when it could
    CsvEncoding encoding = CsvEncoding::Unknown;
};

CsvReadResult readCsvFile(const std::string& path, CsvParserOptions options = 0,
                          char16_t delimiter = u',');
CsvReadResult readCsvText(std::u16string_view text, CsvParserOptions options = 0,
                          char16_t delimiter = u',');

} // namespace lanthor
