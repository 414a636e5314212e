#include "CsvCommand.h"

#include "Cli.h"
#include "Json.h"
#include "base/BufferedWriter.h"
#include "base/Log.h"
#include "csv/CsvReaders.h"

#include <charconv>
#include <stdexcept>
#include <variant>

namespace lanthor {

namespace {

struct CsvCommandOptions {
    CsvParserOptions options = 0;
    char16_t delimiter = u',';
    bool events = false;
    std::string file;
};

std::optional<char16_t> parseDelimiter(const std::string& text) {
    if (text == "\\t" || text == "tab") {
        return u'\t';
    }
    const std::u16string units = toUtf16(text);
    if (units.size() != 1 || toUtf8(units) != text) {
        return std::nullopt;
    }
    return units.front();
}

/// Parses the arguments; on bad usage returns the problem instead.
std::variant<CsvCommandOptions, std::string> parseArguments(const std::vector<std::string>& args) {
    CsvCommandOptions parsed;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--events") {
            parsed.events = true;
        } else if (arg == "--options" || arg == "--delimiter") {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            const std::string& value = args[++i];
            if (arg == "--options") {
                const auto result =
                    std::from_chars(value.data(), value.data() + value.size(), parsed.options);
                if (value.empty() || result.ec != std::errc() ||
                    result.ptr != value.data() + value.size()) {
                    return "--options needs a non-negative integer, not '" + value + "'";
                }
            } else {
                const std::optional<char16_t> delimiter = parseDelimiter(value);
                if (!delimiter) {
                    return "--delimiter needs a single character, not '" + value + "'";
                }
                parsed.delimiter = *delimiter;
            }
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + arg + "' for csv";
        } else if (haveFile) {
            return "csv reads one FILE; '" + arg + "' is one too many";
        } else {
            parsed.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile) {
        return "csv needs a FILE";
    }
    if (auto problem = CsvParser::delimiterProblem(parsed.delimiter, parsed.options)) {
        return *problem;
    }
    return parsed;
}

/// Prints every parser event as it happens.
class EventPrinter final : public CsvParserDelegate {
public:
    explicit EventPrinter(BufferedWriter& output) : out_(output) {}
    const std::optional<CsvError>& error() const { return error_; }
    std::uint64_t record() const { return record_; }

    void parserDidBeginDocument(CsvParser&) override { simple("beginDocument"); }
    void parserDidEndDocument(CsvParser&) override { simple("endDocument"); }
    void parserDidBeginLine(CsvParser&, std::uint64_t record) override {
        record_ = record;
        withRecord("beginLine", record);
    }
    void parserDidEndLine(CsvParser&, std::uint64_t record) override {
        withRecord("endLine", record);
    }
    void parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t index) override {
        std::string& line = out_.line();
        line += R"({"event":"field","index":)";
        appendJsonNumber(line, index);
        line += R"(,"text":)";
        appendJsonString(line, field);
        line += '}';
        out_.endLine();
    }
    void parserDidReadComment(CsvParser&, const std::u16string& comment) override {
        std::string& line = out_.line();
        line += R"({"event":"comment","text":)";
        appendJsonString(line, comment);
        line += '}';
        out_.endLine();
    }
    void parserDidFailWithError(CsvParser&, const CsvError& error) override {
        error_ = error;
        std::string& line = out_.line();
        line += R"({"event":"error","code":)";
        appendJsonNumber(line, std::int64_t{error.code});
        line += R"(,"message":)";
        appendJsonString(line, error.message);
        line += '}';
        out_.endLine();
    }

private:
    void simple(std::string_view event) {
        std::string& line = out_.line();
        line += R"({"event":")";
        line += event;
        line += "\"}";
        out_.endLine();
    }
    void withRecord(std::string_view event, std::uint64_t record) {
        std::string& line = out_.line();
        line += R"({"event":")";
        line += event;
        line += R"(","record":)";
        appendJsonNumber(line, record);
        line += '}';
        out_.endLine();
    }

    BufferedWriter& out_;
    std::optional<CsvError> error_;
    std::uint64_t record_ = 0;
};

/// Gathers rows like the file reader does, and remembers where an error struck.
class RowCollector final : public CsvParserDelegate {
public:
    CsvAggregator aggregator;
    std::uint64_t record = 0;

    void parserDidBeginDocument(CsvParser& p) override { aggregator.parserDidBeginDocument(p); }
    void parserDidBeginLine(CsvParser& p, std::uint64_t r) override {
        record = r;
        aggregator.parserDidBeginLine(p, r);
    }
    void parserDidReadField(CsvParser& p, const std::u16string& f, std::int64_t i) override {
        aggregator.parserDidReadField(p, f, i);
    }
    void parserDidEndLine(CsvParser& p, std::uint64_t r) override {
        aggregator.parserDidEndLine(p, r);
    }
    void parserDidFailWithError(CsvParser& p, const CsvError& e) override {
        aggregator.parserDidFailWithError(p, e);
    }
};

/// After everything read was printed: a text that ended before its bytes did is a failure too.
int reportEarlyEnd(const std::string& file, const CsvParser& parser) {
    if (const std::optional<CsvEarlyEnd> earlyEnd = parser.earlyEnd()) {
        printError(displayName(file) + ": " + earlyEnd->message());
        return kExitInputFailed;
    }
    return kExitSuccess;
}

int reportParseError(const std::string& file, std::uint64_t record, const CsvError& error) {
    printError(displayName(file) + ": record " + std::to_string(record) + ": " +
               toUtf8(error.message));
    return kExitInputFailed;
}

} // namespace

int runCsvCommand(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args);
    if (auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(*problem);
    }
    const CsvCommandOptions& options = std::get<CsvCommandOptions>(parsed);

    CsvParser parser = CsvParser::fromFile(options.file, options.delimiter);
    if (!parser.streamError().empty()) {
        printError("cannot read " + displayName(options.file) + ": " + parser.streamError());
        return kExitInputFailed;
    }
    parser.setOptions(options.options);
    BufferedWriter out(stdout);
    if (options.events) {
        EventPrinter printer(out);
        parser.setDelegate(&printer);
        parser.parse();
        std::string& line = out.line();
        line += R"({"event":"summary","encoding":)";
        appendJsonString(line, encodingName(parser.streamEncoding()));
        line += R"(,"totalBytesRead":)";
        appendJsonNumber(line, parser.totalBytesRead());
        line += '}';
        out.endLine();
        out.flush();
        if (!parser.streamError().empty()) {
            printError("cannot read " + displayName(options.file) + ": " + parser.streamError());
            return kExitInputFailed;
        }
        if (printer.error()) {
            return reportParseError(options.file, printer.record(), *printer.error());
        }
        return reportEarlyEnd(options.file, parser);
    }

    RowCollector collector;
    parser.setDelegate(&collector);
    parser.parse();
    if (!parser.streamError().empty()) {
        printError("cannot read " + displayName(options.file) + ": " + parser.streamError());
        return kExitInputFailed;
    }
    const std::optional<CsvRows>& rows = collector.aggregator.lines();
    if (!rows) {
        return reportParseError(options.file, collector.record, *collector.aggregator.error());
    }
    for (const CsvRow& row : *rows) {
        std::string& line = out.line();
        line += '[';
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                line += ',';
            }
            appendJsonString(line, row[i]);
        }
        line += ']';
        out.endLine();
    }
    out.flush();
    return reportEarlyEnd(options.file, parser);
}

} // namespace lanthor
