#pragma once

#include "csv/CsvAggregator.h"
#include "csv/CsvParser.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lanthor::test {

/// What one parse gave: the aggregated rows (none after an error) and the parser's state after it.
struct ParsedInput {
    std::optional<CsvRows> rows;
    CsvEncoding encoding = CsvEncoding::Unknown;
    std::uint64_t totalBytesRead = 0;
    std::optional<CsvEarlyEnd> earlyEnd;
    std::vector<std::string> logLines; ///< log lines written while the parser was built and ran
};

/// Parses a file with detection of its encoding.
ParsedInput parseFile(const std::string& path, CsvParserOptions options = 0);

/// Parses `stream`; CsvEncoding::Unknown asks for detection.
ParsedInput parseStream(std::unique_ptr<CsvInputStream> stream, CsvEncoding encoding,
                        CsvParserOptions options = 0);

/// A stream over bytes in memory that hands out at most `chunk` bytes per read, as a pipe or a
/// slow device may.
class TrickleInputStream final : public CsvInputStream {
public:
    TrickleInputStream(std::string bytes, std::size_t chunk)
        : bytes_(std::move(bytes)), chunk_(chunk) {}
    void open() override {}
    void close() override {}
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    bool hasBytesAvailable() override { return position_ < bytes_.size(); }

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t position_ = 0;
};

} // namespace lanthor::test
