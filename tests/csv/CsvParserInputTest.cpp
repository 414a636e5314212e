// How the parser turns bytes into text: encoding detection, the 512-byte block rule, early ends,
// and text that must come back whole across blocks and short reads.

#include "csv/ByteStreams.h"
#include "csv/CsvParser.h"
#include "csv/CsvReaders.h"
#include "support/Bytes.h"
#include "support/LogCapture.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kFallback{"unable to determine stream encoding; assuming ShiftJIS"};

/// Hands out at most `chunk` bytes per read, as a pipe may.
class TrickleInputStream final : public CsvInputStream {
public:
    TrickleInputStream(std::string bytes, std::size_t chunk)
        : bytes_(std::move(bytes)), chunk_(chunk) {}
    void open() override {}
    void close() override {}
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override {
        return bytes_.read(buffer, std::min(maxLength, chunk_));
    }
    bool hasBytesAvailable() override { return bytes_.hasBytesAvailable(); }

private:
    MemoryInputStream bytes_;
    std::size_t chunk_;
};

struct Parsed {
    std::optional<CsvRows> rows; ///< none after a parse error
    CsvEncoding encoding;
    std::uint64_t totalBytesRead;
    std::string earlyEnd; ///< its message, or empty
    Lines log;
};

/// Parses `bytes`, sanitizing, in reads of at most `chunk` bytes; detects the encoding if unknown.
Parsed parse(const std::string& bytes, std::size_t chunk = 512,
             CsvEncoding encoding = CsvEncoding::Unknown) {
    const LogCapture log;
    CsvParser parser(std::make_unique<TrickleInputStream>(bytes, chunk), &encoding, u',');
    CsvAggregator rows;
    parser.setDelegate(&rows);
    parser.setSanitizesFields(true);
    parser.parse();
    const auto earlyEnd = parser.earlyEnd();
    return {rows.lines(), parser.streamEncoding(), parser.totalBytesRead(),
            earlyEnd ? earlyEnd->message() : "", log.lines()};
}

TEST(CsvParserInput, AByteOrderMarkPicksTheEncodingInTableOrder) {
    const std::u16string text = u"a,\u00E9\n\U0001F600,\u20AC";
    const CsvRows rows{{u"a", u"\u00E9"}, {u"\U0001F600", u"\u20AC"}};
    for (const auto& [bytes, encoding] :
         {std::pair("\x00\x00\xFE\xFF"s + utf32be(text), CsvEncoding::UTF32BigEndian),
          std::pair("\xFF\xFE\x00\x00"s + utf32le(text), CsvEncoding::UTF32LittleEndian),
          std::pair("\xFF\xFE" + utf16le(text), CsvEncoding::UTF16LittleEndian),
          std::pair("\xFE\xFF" + utf16be(text), CsvEncoding::UTF16BigEndian),
          std::pair("\xEF\xBB\xBF" + utf8(text), CsvEncoding::UTF8),
          std::pair(utf8(text), CsvEncoding::UTF8)}) {
        const Parsed parsed = parse(bytes);
        EXPECT_EQ(parsed.encoding, encoding);
        EXPECT_EQ(parsed.rows, rows) << encodingName(encoding);
        EXPECT_EQ(parsed.totalBytesRead, bytes.size()); // marks included
        EXPECT_EQ(parsed.log, Lines{});
    }
    const Parsed korean = parse("\x1B$)Ca,\x0EGQ\x0F");
    EXPECT_EQ(korean.encoding, CsvEncoding::ISO2022KR);
    EXPECT_EQ(korean.rows, (CsvRows{{u"a", u"\uD55C"}}));
    // FF FE 00 00 is UTF-32, not UTF-16 and a U+0000; three bytes are UTF-16 and one more.
    EXPECT_EQ(parse("\xFF\xFE\x00\x00"s).encoding, CsvEncoding::UTF32LittleEndian);
    EXPECT_EQ(parse("\xFF\xFE\x00"s).encoding, CsvEncoding::UTF16LittleEndian);
    // A UTF-8 mark is dropped even before text that is not UTF-8.
    EXPECT_EQ(parse("\357\273\277caf\351").rows, (CsvRows{{u"caf"}}));
}

TEST(CsvParserInput, WithoutAMarkTheFirstBlockDecidesBetweenUtf8AndShiftJis) {
    // Characters cut by the end of the first 512 bytes still make UTF-8, decoded whole.
    for (const std::u16string_view cut : {u"\u00E9", u"\u20AC", u"\U0001F600"}) {
        const std::u16string field = repeated(u"a", 513 - utf8(cut).size()) + std::u16string(cut);
        EXPECT_EQ(parse(utf8(field + u",x")).rows, (CsvRows{{field, u"x"}}));
    }
    // Only bytes before the last three of the block must be UTF-8.
    const std::string a508(508, 'a');
    EXPECT_EQ(parse("a" + a508 + "\xFF" + a508).log, Lines{});
    EXPECT_EQ(parse(a508 + "\xFF" + a508).log, kFallback);
    EXPECT_EQ(parse("\xFF\xFF\xFF").log, Lines{}); // shorter than four bytes
    EXPECT_EQ(parse("\xFF\xFF\xFF\xFF").log, kFallback);
    // Latin-1 capitals with accents are half-width katakana in Shift JIS.
    EXPECT_EQ(parse("CAF\311,\334BER").rows, (CsvRows{{u"CAF\uFF89", u"\uFF9CBER"}}));
    // A first accent beyond the first short read is still found.
    EXPECT_EQ(parse(std::string(20, 'a') + "\xC9" + std::string(20, 'a'), 4).log, kFallback);
    // Text in memory is never detected, so never logged.
    const LogCapture log;
    EXPECT_EQ(csvComponents(u"CAF\u00C9,\xD800x"), (CsvRows{{u"CAF\u00C9", u"\xD800x"}}));
    EXPECT_EQ(log.lines(), Lines{});
}

TEST(CsvParserInput, TheTextEndsEarlyAtBytesThatDoNotDecodeAtANulOrInAnOpenQuote) {
    const std::string a1000(1000, 'a');
    const auto notValid = [](int offset, const std::string& encoding, int record) {
        return "the bytes from offset " + std::to_string(offset) + " are not valid " + encoding +
               " (record " + std::to_string(record) + ")";
    };
    for (const auto& [bytes, earlyEnd] : {
             std::pair(a1000 + "\xFF" + std::string(600, 'b') + "\nc", notValid(1000, "UTF-8", 1)),
             std::pair("\xEF\xBB\xBF" + a1000 + "\xC3(x",
                       notValid(1003, "UTF-8", 1)),            // mark counted
             std::pair("a,b\n\xC3"s, notValid(4, "UTF-8", 2)), // the bytes end inside a character
             std::pair("\xFF\xFE" + utf16le(u"a") + "\x00"s, notValid(4, "UTF-16LE", 1)),
             std::pair("\x00\x00\xFE\xFF\x00\x00\xD8\x00"s, notValid(4, "UTF-32BE", 1)),
             std::pair("a,b\n\0c,d"s, "a U+0000 character ends the text in record 2"s),
             std::pair("a\nb,\"cd\ne"s, "a quoted field in record 2 is never closed"s),
             std::pair("\"a\"b\n\xFF"s, ""s), // an error ends the parse, not the text
             std::pair("\xFF\xFE" + utf16le(u"\xD800,\xDC00"), ""s), // UTF-16 keeps lone halves
         }) {
        EXPECT_EQ(parse(bytes).earlyEnd, earlyEnd);
    }
}

TEST(CsvParserInput, ReadsTheNextBlockOnlyWhenAThirdOfTheTextIsLeft) {
    // Detection reads the first 512 bytes and the first step a second block. From then on a
    // block is read when at most a third of the decoded text (at least 10 code units) lies
    // ahead of the next character, counted after each reported field has been dropped.
    const auto bytesReadBeforeError = [](const std::string& content) {
        const Parsed parsed = parse(content);
        EXPECT_EQ(parsed.rows, std::nullopt); // the parse failed
        return parsed.totalBytesRead;
    };
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(2000, 'x')), 1024u);
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(595, 'x')), 600u);
    // With 1024 code units decoded the third block comes when the field reaches index 683.
    EXPECT_EQ(bytesReadBeforeError(std::string(682, 'x') + "\"" + std::string(3000, 'y')), 1024u);
    EXPECT_EQ(bytesReadBeforeError(std::string(700, 'x') + "\"" + std::string(3000, 'y')), 1536u);
    // Short fields leave only the floor of 10: after the field at 1008..1010 is dropped, 13
    // units remain and the read comes when the next character is 3 ahead, at 1014.
    std::string shortFields;
    for (int i = 0; i < 500; ++i) {
        shortFields += "abc,";
    }
    std::string errorAt1011 = shortFields, errorAt1015 = shortFields;
    errorAt1011[1011] = '"';
    errorAt1015[1015] = '"';
    EXPECT_EQ(bytesReadBeforeError(errorAt1011), 1024u);
    EXPECT_EQ(bytesReadBeforeError(errorAt1015), 1536u);
}

TEST(CsvParserInput, TextComesBackWholeAcrossBlocksAndShortReads) {
    // Characters of one to four bytes, line breaks and quotes cut by every block and read end.
    const std::u16string text =
        u"head,\"" + repeated(u"\u00E9\"\"\r\n,\U0001F600\\#\u2028 \t\u20AC", 300) + u"\",tail\n" +
        repeated(u"a\u00E9,\"\U0001F600\"\"x\"\r\n\u20AC,", 40);
    const CsvRows expected = *csvComponents(text, CsvParserOptionsSanitizesFields);
    for (const auto& [bytes, encoding] :
         {std::pair(utf8(text), CsvEncoding::UTF8),
          std::pair(utf16le(text), CsvEncoding::UTF16LittleEndian),
          std::pair(utf32be(text), CsvEncoding::UTF32BigEndian),
          std::pair("\xFF\xFE" + utf16le(text), CsvEncoding::Unknown),
          std::pair("\x00\x00\xFE\xFF"s + utf32be(text), CsvEncoding::Unknown)}) {
        for (const std::size_t chunk : {1u, 2u, 3u, 5u, 511u, 512u}) {
            const Parsed parsed = parse(bytes, chunk, encoding);
            EXPECT_EQ(parsed.rows, expected) << encodingName(parsed.encoding) << " by " << chunk;
            EXPECT_EQ(parsed.totalBytesRead, bytes.size());
        }
    }
    // The shift state of ISO-2022-KR and the two-byte characters of Shift JIS across blocks.
    std::string korean = "\x1B$)C\x0E", shiftJis;
    CsvRow words;
    for (int i = 0; i < 1500; ++i) {
        korean += "GQ";
        shiftJis += "\x93\xFA\x96\x7B\x8C\xEA,";
        words.push_back(u"\u65E5\u672C\u8A9E");
    }
    EXPECT_EQ(parse(korean + "\x0F,x").rows, (CsvRows{{repeated(u"\uD55C", 1500), u"x"}}));
    words.push_back(u"\\\u30C6\u30B9\u30C8");
    EXPECT_EQ(parse(shiftJis + "\\\x83\x65\x83\x58\x83\x67").rows, CsvRows{words});
}

} // namespace
} // namespace lanthor::test
