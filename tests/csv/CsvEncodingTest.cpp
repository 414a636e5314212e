// Encoding detection and decoding as the parser reads its input in blocks: marks, the UTF-8 test
// of the first block, the Shift JIS fallback, stateful ISO-2022-KR, undecodable bytes, and text
// that must come back whole across blocks and short reads.

#include "csv/ByteStreams.h"
#include "csv/CsvParser.h"
#include "csv/CsvReaders.h"
#include "support/Bytes.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Reason = CsvEarlyEnd::Reason;
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
        const std::size_t count = std::min({maxLength, chunk_, bytes_.size() - position_});
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    bool hasBytesAvailable() override { return position_ < bytes_.size(); }

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t position_ = 0;
};

struct Parsed {
    std::optional<CsvRows> rows;
    CsvEncoding encoding;
    std::uint64_t totalBytesRead;
    std::optional<CsvEarlyEnd> earlyEnd;
    Lines log;
};

/// Parses `bytes` with field sanitizing, from a file or, with a `chunk`, in reads of at most that
/// many bytes; detects the encoding unless one is given.
Parsed parse(const std::string& bytes, std::size_t chunk = 0,
             CsvEncoding encoding = CsvEncoding::Unknown) {
    static const TempDir dir;
    const LogCapture log;
    std::unique_ptr<CsvInputStream> stream;
    if (chunk == 0) {
        stream = std::make_unique<FileInputStream>(dir.write("input.csv", bytes));
    } else {
        stream = std::make_unique<TrickleInputStream>(bytes, chunk);
    }
    CsvParser parser(std::move(stream), &encoding, u',');
    CsvAggregator rows;
    parser.setDelegate(&rows);
    parser.setSanitizesFields(true);
    parser.parse();
    return {rows.lines(), parser.streamEncoding(), parser.totalBytesRead(), parser.earlyEnd(),
            log.lines()};
}

TEST(CsvEncoding, AByteOrderMarkPicksTheEncodingInTableOrder) {
    const std::u16string text = u"a,\u00E9\n\U0001F600,\u20AC";
    const CsvRows rows{{u"a", u"\u00E9"}, {u"\U0001F600", u"\u20AC"}};
    const struct {
        std::string bytes;
        CsvEncoding encoding;
        CsvRows rows;
    } cases[] = {
        {"\x00\x00\xFE\xFF"s + utf32be(text), CsvEncoding::UTF32BigEndian, rows},
        {"\xFF\xFE\x00\x00"s + utf32le(text), CsvEncoding::UTF32LittleEndian, rows},
        {"\xFF\xFE" + utf16le(text), CsvEncoding::UTF16LittleEndian, rows},
        {"\xFE\xFF" + utf16be(text), CsvEncoding::UTF16BigEndian, rows},
        {"\xEF\xBB\xBF" + utf8(text), CsvEncoding::UTF8, rows},
        {utf8(text), CsvEncoding::UTF8, rows},
        {"\x1B\x24\x29\x43"
         "a,\x0E\x47\x51\x0F\n",
         CsvEncoding::ISO2022KR,
         {{u"a", u"\uD55C"}, {u""}}},
        // FF FE 00 00 is UTF-32, not UTF-16 and a U+0000.
        {"\xFF\xFE\x00\x00"s, CsvEncoding::UTF32LittleEndian, {{u""}}},
        // A UTF-8 mark is dropped even before text that is not UTF-8.
        {"\xEF\xBB\xBF"
         "caf\xE9",
         CsvEncoding::UTF8,
         {{u"caf"}}},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parse(c.bytes);
        EXPECT_EQ(parsed.encoding, c.encoding) << encodingName(c.encoding);
        EXPECT_EQ(parsed.rows, c.rows) << encodingName(c.encoding);
        EXPECT_EQ(parsed.totalBytesRead, c.bytes.size());
        EXPECT_EQ(parsed.log, Lines{});
    }
    // Four-byte marks need four bytes: three are UTF-16 and a byte that never decodes.
    const Parsed three = parse("\xFF\xFE\x00"s);
    EXPECT_EQ(three.encoding, CsvEncoding::UTF16LittleEndian);
    ASSERT_TRUE(three.earlyEnd);
    EXPECT_EQ(three.earlyEnd->byteOffset, 2u);
}

TEST(CsvEncoding, WithoutAMarkTheFirstBlockDecidesBetweenUtf8AndShiftJis) {
    // Characters cut by the end of the first 512 bytes still make UTF-8, decoded whole.
    for (const std::u16string_view cut : {u"\u00E9", u"\u20AC", u"\U0001F600"}) {
        const std::u16string field = repeated(u"a", 513 - utf8(cut).size()) + std::u16string(cut);
        const Parsed parsed = parse(utf8(field + u",x"));
        EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
        EXPECT_EQ(parsed.rows, (CsvRows{{field, u"x"}}));
    }
    // Only bytes before the last three of the block must be UTF-8.
    const std::string a508(508, 'a');
    const Parsed late = parse("a" + a508 + "\xFF" + a508);
    EXPECT_EQ(late.encoding, CsvEncoding::UTF8);
    EXPECT_EQ(late.rows, (CsvRows{{repeated(u"a", 509)}}));
    EXPECT_EQ(late.log, Lines{});
    const Parsed early = parse(a508 + "\xFF" + a508);
    EXPECT_EQ(early.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(early.log, kFallback);
    EXPECT_EQ(parse("\xFF\xFF\xFF").encoding, CsvEncoding::UTF8); // shorter than four bytes
    EXPECT_EQ(parse("\xFF\xFF\xFF\xFF").encoding, CsvEncoding::ShiftJIS);
    // Latin-1 capitals with accents are half-width katakana in Shift JIS.
    std::string latin1;
    CsvRows katakana;
    for (int i = 0; i < 200; ++i) {
        latin1 += "CAF\xC9,\xDC"
                  "BER\n";
        katakana.push_back({u"CAF\uFF89", u"\uFF9CBER"});
    }
    katakana.push_back({u""});
    const Parsed parsed = parse(latin1);
    EXPECT_EQ(parsed.log, kFallback);
    EXPECT_EQ(parsed.rows, katakana);
    EXPECT_EQ(parsed.totalBytesRead, latin1.size());
    // A first accent beyond the first short read is still found.
    EXPECT_EQ(parse(std::string(20, 'a') + "\xC9" + std::string(20, 'a'), 4).log, kFallback);
    // Text in memory is never detected, so never logged.
    const LogCapture log;
    EXPECT_EQ(csvComponents(u"CAF\u00C9,\xD800x"), (CsvRows{{u"CAF\u00C9", u"\xD800x"}}));
    EXPECT_EQ(log.lines(), Lines{});
}

TEST(CsvEncoding, TheTextEndsAtTheFirstUndecodableByte) {
    const std::string a1000(1000, 'a');
    Parsed parsed = parse(a1000 + "\xFF" + std::string(100, 'b') + "\nc");
    EXPECT_EQ(parsed.rows, (CsvRows{{repeated(u"a", 1000)}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, Reason::UndecodableBytes);
    EXPECT_EQ(parsed.earlyEnd->message(),
              "the bytes from offset 1000 are not valid UTF-8 (record 1)");
    // The offset counts the mark; the record is the one the text ended in.
    EXPECT_EQ(parse("\xEF\xBB\xBF" + a1000 + "\xC3(x").earlyEnd->byteOffset, 1003u);
    std::string lines;
    for (int i = 0; i < 600; ++i) {
        lines += "x\n";
    }
    parsed = parse(lines + "\x80y\n");
    EXPECT_EQ(parsed.rows->size(), 601u);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 1200u);
    EXPECT_EQ(parsed.earlyEnd->record, 601u);
    // Bytes that end inside a character never decode either.
    const struct {
        std::string bytes;
        CsvRows rows;
        std::uint64_t offset;
    } cut[] = {
        {"a,b\xC3", {{u"a", u"b"}}, 3},
        {"\xFF\xFE" + utf16le(u"a,b") + "\x00"s, {{u"a", u"b"}}, 8},
        {"\x00\x00\xFE\xFF"s + utf32be(u"a") + "\x00\x11\x00\x00"s + utf32be(u"b"), {{u"a"}}, 8},
        {"\x00\x00\xFE\xFF"s + utf32be(u"a") + "\x00\x00\xD8\x00"s, {{u"a"}}, 8},
    };
    for (const auto& c : cut) {
        parsed = parse(c.bytes);
        EXPECT_EQ(parsed.rows, c.rows);
        ASSERT_TRUE(parsed.earlyEnd);
        EXPECT_EQ(parsed.earlyEnd->byteOffset, c.offset);
    }
    // UTF-16 passes unpaired surrogates through as text.
    parsed = parse("\xFF\xFE" + utf16le(u"\xD800,\xDC00x"));
    EXPECT_EQ(parsed.rows, (CsvRows{{u"\xD800", u"\xDC00x"}}));
    EXPECT_FALSE(parsed.earlyEnd);
}

/// About 100,000 code units that a quoted field must carry whole: quotes, delimiters, line
/// breaks, and characters of one to four UTF-8 bytes, mixed so that block ends cut every kind.
std::u16string awkwardText() {
    static const std::u16string_view pieces[] = {
        u"plain words", u"\"",   u",",  u"\n", u"\r\n",   u"\u00E9", u"\u20AC", u"\U0001F600",
        u" ",           u"\"\"", u"\\", u"#",  u"\u2028", u"\t",     u"z",
    };
    std::u16string text;
    std::uint32_t state = 12345;
    while (text.size() < 100000) {
        state = state * 1103515245u + 12345u;
        text += pieces[(state >> 16) % std::size(pieces)];
    }
    return text;
}

TEST(CsvEncoding, TextComesBackWholeAcrossBlocksAndShortReads) {
    std::u16string quoted = u"\"";
    const std::u16string content = awkwardText();
    for (const char16_t c : content) {
        quoted += c == u'"' ? u"\"\"" : std::u16string(1, c);
    }
    const std::u16string csv = u"head," + quoted + u"\",tail\nnext,row";
    const CsvRows rows{{u"head", content, u"tail"}, {u"next", u"row"}};
    EXPECT_EQ(csvComponents(csv, CsvParserOptionsSanitizesFields), rows);
    for (const std::string& bytes :
         {utf8(csv), "\xEF\xBB\xBF" + utf8(csv), "\xFF\xFE" + utf16le(csv),
          "\xFE\xFF" + utf16be(csv), "\xFF\xFE\x00\x00"s + utf32le(csv)}) {
        const Parsed parsed = parse(bytes);
        EXPECT_EQ(parsed.rows, rows);
        EXPECT_EQ(parsed.totalBytesRead, bytes.size());
        EXPECT_FALSE(parsed.earlyEnd);
    }
    EXPECT_EQ(parse(utf8(csv), 7).rows, rows);

    // Reads of any size, given or detected encodings, the shift state of ISO-2022-KR and the
    // two-byte characters of Shift JIS: all cut by the ends of reads and blocks.
    const std::u16string text = repeated(u"a\u00E9,\"\U0001F600\"\"x\"\r\n\u20AC,", 40);
    const CsvRows expected = *csvComponents(text, CsvParserOptionsSanitizesFields);
    const struct {
        std::string bytes;
        CsvEncoding encoding;
    } sources[] = {
        {utf8(text), CsvEncoding::UTF8},
        {utf16le(text), CsvEncoding::UTF16LittleEndian},
        {utf16be(text), CsvEncoding::UTF16BigEndian},
        {utf32le(text), CsvEncoding::UTF32LittleEndian},
        {utf32be(text), CsvEncoding::UTF32BigEndian},
        {"\xFF\xFE" + utf16le(text), CsvEncoding::Unknown},
        {"\x00\x00\xFE\xFF"s + utf32be(text), CsvEncoding::Unknown},
    };
    for (const auto& source : sources) {
        for (const std::size_t chunk : {1u, 2u, 3u, 5u, 511u}) {
            const Parsed parsed = parse(source.bytes, chunk, source.encoding);
            EXPECT_EQ(parsed.rows, expected) << encodingName(parsed.encoding) << " by " << chunk;
            EXPECT_EQ(parsed.totalBytesRead, source.bytes.size());
        }
    }
    std::string korean = "\x1B\x24\x29\x43\x0E";
    std::string shiftJis;
    CsvRow words;
    for (int i = 0; i < 1500; ++i) {
        korean += "\x47\x51";
        shiftJis += "\x93\xFA\x96\x7B\x8C\xEA,";
        words.push_back(u"\u65E5\u672C\u8A9E");
    }
    EXPECT_EQ(parse(korean + "\x0F,x").rows, (CsvRows{{repeated(u"\uD55C", 1500), u"x"}}));
    words.push_back(u"\\\u30C6\u30B9\u30C8");
    const Parsed japanese = parse(shiftJis + "\\\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(japanese.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(japanese.rows, CsvRows{words});
    EXPECT_FALSE(japanese.earlyEnd);
}

TEST(CsvEncoding, DetectionReadsOneBlockAtOnceAndAGivenEncodingIsKept) {
    CsvEncoding detected = CsvEncoding::Unknown;
    const CsvParser sniffed(std::make_unique<MemoryInputStream>("\xFE\xFF" + std::string(600, 0)),
                            &detected, u',');
    EXPECT_EQ(detected, CsvEncoding::UTF16BigEndian);
    EXPECT_EQ(sniffed.totalBytesRead(), 512u);
    CsvEncoding given = CsvEncoding::UTF16BigEndian;
    const CsvParser known(std::make_unique<MemoryInputStream>(utf8(u"a")), &given, u',');
    EXPECT_EQ(known.totalBytesRead(), 0u);
    EXPECT_EQ(given, CsvEncoding::UTF16BigEndian);
    // Empty, missing and unreadable files read as one empty field, and say why.
    const TempDir dir;
    for (const std::string& path :
         {dir.write("empty.csv", ""), dir.file("missing.csv"), dir.path().string()}) {
        const CsvReadResult read = readCsvFile(path);
        EXPECT_EQ(read.rows, (CsvRows{{u""}}));
        EXPECT_EQ(read.encoding, CsvEncoding::UTF8);
        EXPECT_FALSE(read.earlyEnd);
    }
    EXPECT_EQ(readCsvFile(dir.file("empty.csv")).streamError, "");
    EXPECT_EQ(readCsvFile(dir.file("missing.csv")).streamError, "No such file or directory");
    EXPECT_EQ(readCsvFile(dir.path().string()).streamError, "Is a directory");
}

} // namespace
} // namespace lanthor::test
