#include "support/ParseInput.h"

#include "support/LogCapture.h"

#include <algorithm>
#include <cstring>

namespace lanthor::test {

namespace {

ParsedInput run(CsvParser& parser, CsvParserOptions options) {
    CsvAggregator aggregator;
    parser.setDelegate(&aggregator);
    parser.setOptions(options);
    parser.parse();
    ParsedInput result;
    result.rows = aggregator.lines();
    result.encoding = parser.streamEncoding();
    result.totalBytesRead = parser.totalBytesRead();
    result.earlyEnd = parser.earlyEnd();
    return result;
}

} // namespace

ParsedInput parseFile(const std::string& path, CsvParserOptions options) {
    const LogCapture log;
    CsvParser parser = CsvParser::fromFile(path);
    ParsedInput result = run(parser, options);
    result.logLines = log.lines();
    return result;
}

ParsedInput parseStream(std::unique_ptr<CsvInputStream> stream, CsvEncoding encoding,
                        CsvParserOptions options) {
    const LogCapture log;
    CsvParser parser(std::move(stream), &encoding, u',');
    ParsedInput result = run(parser, options);
    result.logLines = log.lines();
    return result;
}

std::ptrdiff_t TrickleInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
    const std::size_t count = std::min({maxLength, chunk_, bytes_.size() - position_});
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

} // namespace lanthor::test
