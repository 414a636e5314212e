#include "CsvReaders.h"

#include "CsvWriter.h"
#include "base/Log.h"

#include <stdexcept>

namespace lanthor {

namespace {

CsvReadResult readWith(CsvParser& parser, CsvParserOptions options) {
    CsvAggregator aggregator;
    parser.setDelegate(&aggregator);
    parser.setOptions(options);
    parser.parse();
    CsvReadResult result;
    result.rows = aggregator.takeLines();
    result.error = aggregator.error();
    result.earlyEnd = parser.earlyEnd();
    result.streamError = parser.streamError();
    result.encoding = parser.streamEncoding();
    return result;
}

void refuseUnusableDelimiter(char16_t delimiter, CsvParserOptions options) {
    if (auto problem = CsvParser::delimiterProblem(delimiter, options)) {
        throw std::invalid_argument(*problem);
    }
}

} // namespace

CsvReadResult readCsvFile(const std::string& path, CsvParserOptions options, char16_t delimiter) {
    // Refused before the file is opened, so a bad call reads nothing and logs nothing.
    refuseUnusableDelimiter(delimiter, options);
    CsvParser parser = CsvParser::fromFile(path, delimiter);
    return readWith(parser, options);
}

CsvReadResult readCsvText(std::u16string_view text, CsvParserOptions options, char16_t delimiter) {
    refuseUnusableDelimiter(delimiter, options);
    CsvParser parser = CsvParser::fromString(text, delimiter);
    return readWith(parser, options);
}

std::optional<CsvRows> arrayWithContentsOfCSVFile(const std::string& path, CsvParserOptions options,
                                                  char16_t delimiter) {
    return readCsvFile(path, options, delimiter).rows;
}

std::optional<CsvRows> csvComponents(std::u16string_view text, CsvParserOptions options,
                                     char16_t delimiter) {
    return readCsvText(text, options, delimiter).rows;
}

std::u16string csvString(const CsvRows& rows) {
    auto memory = std::make_shared<MemoryOutputStream>();
    {
        CsvWriter writer(memory, CsvEncoding::UTF8, u',');
        for (const CsvRow& row : rows) {
            writer.writeLineOfFields(row);
        }
        writer.closeStream();
    }
    return toUtf16(memory->data());
}

} // namespace lanthor
