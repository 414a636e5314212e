#pragma once

#include "csv/CsvParser.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lanthor::test {

/// Records every parser event as one readable line, so that whole sequences compare at once:
/// "beginDocument", "beginLine 1", "field 0 [a]", "comment [c]", "endLine 1",
/// "error 1 <message>", "endDocument". Texts are in UTF-8; brackets show empty texts and blanks.
class EventRecorder : public CsvParserDelegate {
public:
    std::vector<std::string> events;
    std::optional<CsvError> error;
    /// Runs after a field is recorded, from inside the parser's callback.
    std::function<void(CsvParser&, const std::u16string& field, std::int64_t index)> onField;
    /// Runs after a record's end is recorded, from inside the parser's callback.
    std::function<void(CsvParser&, std::uint64_t record)> onEndLine;

    void parserDidBeginDocument(CsvParser& parser) override;
    void parserDidEndDocument(CsvParser& parser) override;
    void parserDidBeginLine(CsvParser& parser, std::uint64_t record) override;
    void parserDidEndLine(CsvParser& parser, std::uint64_t record) override;
    void parserDidReadField(CsvParser& parser, const std::u16string& field,
                            std::int64_t index) override;
    void parserDidReadComment(CsvParser& parser, const std::u16string& comment) override;
    void parserDidFailWithError(CsvParser& parser, const CsvError& failure) override;
};

/// The events of parsing `csv` from a string with the given options and delimiter.
std::vector<std::string> parseEvents(std::u16string_view csv, CsvParserOptions options = 0,
                                     char16_t delimiter = u',');

} // namespace lanthor::test
