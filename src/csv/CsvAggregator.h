#pragma once

#include "CsvParserDelegate.h"

#include <optional>
#include <string>
#include <vector>

namespace lanthor {

using CsvRow = std::vector<std::u16string>;
/// Rows in record order, each with as many fields as its record had (no padding).
using CsvRows = std::vector<CsvRow>;

/// A delegate that gathers the parser's fields into rows. Comments are not part of the rows.
class CsvAggregator final : public CsvParserDelegate {
public:
    /// The rows gathered; none before the document begins and none after an error.
    const std::optional<CsvRows>& lines() const { return lines_; }
    std::optional<CsvRows> takeLines() { return std::move(lines_); }
    const std::optional<CsvError>& error() const { return error_; }

    void parserDidBeginDocument(CsvParser& parser) override;
    void parserDidBeginLine(CsvParser& parser, std::uint64_t record) override;
    void parserDidReadField(CsvParser& parser, const std::u16string& field,
                            std::int64_t index) override;
    void parserDidEndLine(CsvParser& parser, std::uint64_t record) override;
    void parserDidFailWithError(CsvParser& parser, const CsvError& error) override;

private:
    std::optional<CsvRows> lines_;
    std::optional<CsvRow> currentLine_;
    std::optional<CsvError> error_;
};

} // namespace lanthor
