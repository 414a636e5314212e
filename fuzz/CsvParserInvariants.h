#pragma once

// Checks that the CSV parser keeps its event contract on arbitrary bytes, and that the rows it
// reads with field sanitizing survive being written and read again. Shared by the libFuzzer
// target and by the unit test that replays saved fuzz inputs, so it needs nothing of libFuzzer.

#include "base/Log.h"
#include "csv/ByteStreams.h"
#include "csv/CsvParser.h"
#include "csv/CsvReaders.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lanthor {

/// How one fuzz input drives a parse: its first byte chooses the options (low four bits) and
/// the delimiter (the next bits: comma, semicolon or tab); the other bytes are the CSV input.
struct CsvFuzzInput {
    CsvParserOptions options = 0;
    char16_t delimiter = u',';
    std::string_view bytes;

    static CsvFuzzInput from(std::string_view input) {
        static constexpr char16_t kDelimiters[] = {u',', u';', u'\t'};
        if (input.empty()) {
            return {};
        }
        const auto header = static_cast<unsigned char>(input.front());
        return {header & 0x0Fu, kDelimiters[(header >> 4) % 3], input.substr(1)};
    }
};

namespace csvfuzz {

inline std::string hexDigits(unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return digits;
}

/// A row as readable text for a failure message: fields in brackets, in UTF-8.
inline std::string describeRow(const CsvRow& row) {
    std::string text = "[";
    for (const std::u16string& field : row) {
        text += (text.size() > 1 ? ", \"" : "\"") + toUtf8(field) + "\"";
    }
    return text + "]";
}

/// Rows the writer puts on an empty line, which the reader takes for part of a line end.
inline bool isBlankRow(const CsvRow& row) {
    return row.empty() || (row.size() == 1 && row.front().empty());
}

/// Text that UTF-8, and so the text writer, carries unchanged: no U+0000 and no unpaired
/// surrogate.
inline bool survivesUtf8(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0) {
            return false;
        }
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

/// Follows the parser's events, checks each against the event contract, and keeps the rows.
/// Only the first violation is kept: after it the sequence no longer means anything.
class EventContractChecker final : public CsvParserDelegate {
public:
    EventContractChecker(CsvParserOptions options, char16_t delimiter)
        : options_(options), delimiter_(delimiter) {}

    void parserDidBeginDocument(CsvParser&) override {
        if (last_ != Event::None) {
            fail("beginDocument is not the first event");
        }
        last_ = Event::BeginDocument;
    }

    void parserDidBeginLine(CsvParser&, std::uint64_t record) override {
        expectDocumentOpen("beginLine");
        if (inLine_) {
            fail("beginLine " + std::to_string(record) + " inside record " +
                 std::to_string(record_));
        }
        if (record != record_ + 1) {
            fail("record " + std::to_string(record) + " follows record " + std::to_string(record_));
        }
        record_ = record;
        inLine_ = true;
        nextFieldIndex_ = 0;
        rows_.emplace_back();
        last_ = Event::BeginLine;
    }

    void parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t index) override {
        expectDocumentOpen("field");
        if (!inLine_) {
            fail("field " + std::to_string(index) + " outside a record");
            return;
        }
        if (index != nextFieldIndex_) {
            fail("field index " + std::to_string(index) + " where " +
                 std::to_string(nextFieldIndex_) + " was due in record " + std::to_string(record_));
        }
        ++nextFieldIndex_;
        rows_.back().push_back(field);
        last_ = Event::Field;
    }

    void parserDidReadComment(CsvParser&, const std::u16string&) override {
        expectDocumentOpen("comment");
        if ((options_ & CsvParserOptionsRecognizesComments) == 0) {
            fail("a comment while comments are off");
        }
        if (inLine_) {
            fail("a comment inside record " + std::to_string(record_));
        }
        last_ = Event::Comment;
    }

    void parserDidEndLine(CsvParser&, std::uint64_t record) override {
        expectDocumentOpen("endLine");
        if (!inLine_) {
            fail("endLine " + std::to_string(record) + " outside a record");
        } else if (record != record_) {
            fail("endLine " + std::to_string(record) + " closes record " + std::to_string(record_));
        }
        inLine_ = false;
        last_ = Event::EndLine;
    }

    void parserDidFailWithError(CsvParser&, const CsvError& error) override {
        finish("error");
        failed_ = true;
        if (error.code != 1) {
            fail("error code " + std::to_string(error.code));
        }
        std::u16string expected = u"Unexpected delimiter. Expected '";
        expected += delimiter_;
        expected += u"' (0x" + toUtf16(hexDigits(delimiter_)) + u"), but got '";
        if (error.message.compare(0, expected.size(), expected) != 0) {
            fail("error message \"" + toUtf8(error.message) + "\"");
        }
    }

    void parserDidEndDocument(CsvParser&) override { finish("endDocument"); }

    /// The first violation, or empty when the events kept the contract. Call after `parse`.
    std::string violation() const {
        if (violation_.empty() && last_ != Event::Finished) {
            return "the events end without endDocument or error";
        }
        return violation_;
    }
    bool failed() const { return failed_; }
    CsvRows& rows() { return rows_; }

private:
    enum class Event { None, BeginDocument, BeginLine, Field, Comment, EndLine, Finished };

    void fail(std::string message) {
        if (violation_.empty()) {
            violation_ = std::move(message);
        }
    }

    void expectDocumentOpen(const char* event) {
        if (last_ == Event::None) {
            fail(std::string(event) + " before beginDocument");
        } else if (last_ == Event::Finished) {
            fail(std::string(event) + " after the document ended");
        }
    }

    // Every parse that is not cancelled reads at least one record, and both endings come right
    // after the end of the last record.
    void finish(const char* event) {
        expectDocumentOpen(event);
        if (last_ != Event::EndLine && last_ != Event::Finished) {
            fail(std::string(event) + " does not follow endLine");
        }
        last_ = Event::Finished;
    }

    CsvParserOptions options_;
    char16_t delimiter_;
    Event last_ = Event::None;
    bool inLine_ = false;
    bool failed_ = false;
    std::uint64_t record_ = 0;
    std::int64_t nextFieldIndex_ = 0;
    CsvRows rows_;
    std::string violation_;
};

/// Rows read with sanitizing only, written by csvString and read back the same way, must come
/// back whole, with one row holding one empty field after them for the final line feed. Rows
/// that the writer turns into empty lines, and text that UTF-8 cannot carry, are outside that
/// promise; a blank last row is the input's own final line end and is left out.
inline std::string roundTripViolation(CsvRows rows) {
    if (!rows.empty() && isBlankRow(rows.back())) {
        rows.pop_back();
    }
    for (const CsvRow& row : rows) {
        if (isBlankRow(row)) {
            return {};
        }
        for (const std::u16string& field : row) {
            if (!survivesUtf8(field)) {
                return {};
            }
        }
    }
    const std::u16string text = csvString(rows);
    const std::optional<CsvRows> reread = csvComponents(text, CsvParserOptionsSanitizesFields);
    if (!reread) {
        return "the written rows fail to parse: \"" + toUtf8(text) + "\"";
    }
    rows.push_back(CsvRow{u""});
    if (reread->size() != rows.size()) {
        return "the written rows read back as " + std::to_string(reread->size()) + " rows, not " +
               std::to_string(rows.size()) + ": \"" + toUtf8(text) + "\"";
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if ((*reread)[i] != rows[i]) {
            return "row " + std::to_string(i) + " was written as " + describeRow(rows[i]) +
                   " and read back as " + describeRow((*reread)[i]);
        }
    }
    return {};
}

/// Keeps the parser's log lines (the Shift JIS fallback) out of the output while checking.
class QuietLog final : public LogSink {
public:
    QuietLog() : previous_(setLogSink(this)) {}
    ~QuietLog() override { setLogSink(previous_); }
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;
    void writeLine(std::string_view) override {}

private:
    LogSink* previous_;
};

} // namespace csvfuzz

/// Parses one fuzz input (see CsvFuzzInput) with encoding detection and returns the first broken
/// invariant, or the empty string when there is none.
inline std::string csvParserInvariantViolation(std::string_view input) {
    const CsvFuzzInput fuzz = CsvFuzzInput::from(input);
    const csvfuzz::QuietLog quiet;
    csvfuzz::EventContractChecker checker(fuzz.options, fuzz.delimiter);
    {
        CsvParser parser(std::make_unique<MemoryInputStream>(std::string(fuzz.bytes)), nullptr,
                         fuzz.delimiter);
        parser.setDelegate(&checker);
        parser.setOptions(fuzz.options);
        parser.parse();
        if (parser.totalBytesRead() > fuzz.bytes.size()) {
            return "totalBytesRead " + std::to_string(parser.totalBytesRead()) + " exceeds the " +
                   std::to_string(fuzz.bytes.size()) + " bytes of the input";
        }
    }
    std::string violation = checker.violation();
    if (violation.empty() && !checker.failed() && fuzz.options == CsvParserOptionsSanitizesFields) {
        violation = csvfuzz::roundTripViolation(std::move(checker.rows()));
    }
    return violation;
}

} // namespace lanthor
