#include "csv/ByteStreams.h"
#include "csv/CsvReaders.h"
#include "support/Bytes.h"
#include "support/LogCapture.h"
#include "support/ParseInput.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

constexpr const char* kFallbackMessage = "unable to determine stream encoding; assuming ShiftJIS";

TEST(CsvEncodingDetection, AByteOrderMarkPicksTheEncodingAndIsNoPartOfTheText) {
    const std::u16string text = u"a,\u00E9\n\U0001F600,\u20AC";
    const CsvRows expected{{u"a", u"\u00E9"}, {u"\U0001F600", u"\u20AC"}};
    const struct {
        std::string bytes;
        CsvEncoding encoding;
    } cases[] = {
        {"\x00\x00\xFE\xFF"s + utf32be(text), CsvEncoding::UTF32BigEndian},
        {"\xFF\xFE\x00\x00"s + utf32le(text), CsvEncoding::UTF32LittleEndian},
        {"\xFF\xFE" + utf16le(text), CsvEncoding::UTF16LittleEndian},
        {"\xFE\xFF" + utf16be(text), CsvEncoding::UTF16BigEndian},
        {"\xEF\xBB\xBF" + utf8(text), CsvEncoding::UTF8},
        {utf8(text), CsvEncoding::UTF8},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(encodingName(c.encoding));
        const ParsedInput parsed = parseFile(dir.write("marked.csv", c.bytes));
        EXPECT_EQ(parsed.encoding, c.encoding);
        EXPECT_EQ(parsed.rows, expected);
        EXPECT_EQ(parsed.totalBytesRead, c.bytes.size());
        EXPECT_FALSE(parsed.earlyEnd);
        EXPECT_TRUE(parsed.logLines.empty());
    }
}

TEST(CsvEncodingDetection, MarksAreMatchedInTableOrder) {
    const TempDir dir;
    // FF FE 00 00 is UTF-32 little-endian, not UTF-16 followed by a U+0000.
    ParsedInput parsed = parseFile(dir.write("a.csv", "\xFF\xFE\x00\x00"s + utf32le(u"a,b")));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF32LittleEndian);
    EXPECT_EQ(parsed.rows, (CsvRows{{u"a", u"b"}}));
    parsed = parseFile(dir.write("b.csv", "\xFF\xFE\x00\x00"s));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF32LittleEndian);
    EXPECT_EQ(parsed.rows, (CsvRows{{u""}}));
    EXPECT_EQ(parsed.totalBytesRead, 4u);
    EXPECT_FALSE(parsed.earlyEnd);
    // Four-byte marks need four bytes: three are UTF-16 and one byte that never decodes.
    parsed = parseFile(dir.write("c.csv", "\xFF\xFE\x00"s));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF16LittleEndian);
    EXPECT_EQ(parsed.rows, (CsvRows{{u""}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, CsvEarlyEnd::Reason::UndecodableBytes);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 2u);
    // A UTF-8 mark is dropped even when what follows is not UTF-8, and nothing is logged.
    parsed = parseFile(dir.write("d.csv", "\xEF\xBB\xBF"
                                          "caf\xE9"s));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
    EXPECT_EQ(parsed.rows, (CsvRows{{u"caf"}}));
    EXPECT_TRUE(parsed.logLines.empty());
}

TEST(CsvEncodingDetection, OnlyBytesBeforeTheLastThreeOfTheFirstBlockMustBeUtf8) {
    const TempDir dir;
    const std::string a508(508, 'a'), a509(509, 'a');
    // Characters cut by the end of the first 512 bytes, and decoded whole across the reads.
    for (const std::u16string_view cut : {u"\u00E9", u"\u20AC", u"\U0001F600"}) {
        const std::u16string field =
            repeated(u"a", 512 - utf8(cut).size() + 1) + std::u16string(cut);
        const ParsedInput parsed = parseFile(dir.write("cut.csv", utf8(field + u",x")));
        EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
        EXPECT_EQ(parsed.rows, (CsvRows{{field, u"x"}}));
        EXPECT_TRUE(parsed.logLines.empty());
    }
    // A bad byte among the last three still gives UTF-8; the text then ends before it.
    ParsedInput parsed = parseFile(dir.write("late.csv", a509 + "\xFF" + a508));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
    EXPECT_EQ(parsed.rows, (CsvRows{{repeated(u"a", 509)}}));
    EXPECT_TRUE(parsed.logLines.empty());
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 509u);
    // One byte earlier it decides against UTF-8.
    parsed = parseFile(dir.write("early.csv", a508 + "\xFF" + a508));
    EXPECT_EQ(parsed.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(parsed.logLines, std::vector<std::string>{kFallbackMessage});
}

TEST(CsvEncodingDetection, ShortInputsAreUtf8) {
    const TempDir dir;
    for (const std::string& bytes : {"a"s, "\xFF"s, "\xFF\xFF"s, "\xFF\xFF\xFF"s}) {
        const ParsedInput parsed = parseFile(dir.write("short.csv", bytes));
        EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8) << bytes.size();
        EXPECT_TRUE(parsed.logLines.empty());
    }
    const ParsedInput four = parseFile(dir.write("four.csv", "\xFF\xFF\xFF\xFF"));
    EXPECT_EQ(four.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(four.logLines, std::vector<std::string>{kFallbackMessage});
}

TEST(CsvEncodingDetection, TextThatIsNotUtf8IsReadAsShiftJisAfterOneLogLine) {
    const TempDir dir;
    // Latin-1 capitals with accents are half-width katakana in Shift JIS.
    std::string latin1;
    CsvRows expected;
    for (int i = 0; i < 200; ++i) {
        latin1 += "CAF\xC9,\xDC"
                  "BER\n";
        expected.push_back({u"CAF\uFF89", u"\uFF9CBER"});
    }
    expected.push_back({u""});
    ParsedInput parsed = parseFile(dir.write("latin1.csv", latin1));
    EXPECT_EQ(parsed.logLines, std::vector<std::string>{kFallbackMessage});
    EXPECT_EQ(parsed.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(parsed.rows, expected);
    EXPECT_EQ(parsed.totalBytesRead, latin1.size());

    // Real Shift JIS, with two-byte characters cut by the later 512-byte reads.
    std::string shiftJis;
    CsvRow words;
    for (int i = 0; i < 300; ++i) {
        shiftJis += "\x93\xFA\x96\x7B\x8C\xEA,";
        words.push_back(u"\u65E5\u672C\u8A9E");
    }
    words.push_back(u"\\\u30C6\u30B9\u30C8");
    shiftJis += "\\\x83\x65\x83\x58\x83\x67";
    parsed = parseFile(dir.write("sjis.csv", shiftJis));
    EXPECT_EQ(parsed.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(parsed.rows, CsvRows{words});
    EXPECT_FALSE(parsed.earlyEnd);
    EXPECT_EQ(parsed.logLines.size(), 1u);
}

TEST(CsvEncodingDetection, Iso2022KrIsAnnouncedByItsHeader) {
    const TempDir dir;
    const std::string header = "\x1B\x24\x29\x43";
    ParsedInput parsed = parseFile(dir.write("kr.csv", header + "a,\x0E\x47\x51\x0F\n"));
    EXPECT_EQ(parsed.encoding, CsvEncoding::ISO2022KR);
    EXPECT_EQ(parsed.rows, (CsvRows{{u"a", u"\uD55C"}, {u""}}));

    // A shifted run keeps its meaning across the 512-byte reads.
    std::string longRun = header + "\x0E";
    for (int i = 0; i < 1500; ++i) {
        longRun += "\x47\x51";
    }
    longRun += "\x0F,x";
    parsed = parseFile(dir.write("kr-long.csv", longRun));
    EXPECT_EQ(parsed.rows, (CsvRows{{repeated(u"\uD55C", 1500), u"x"}}));
    EXPECT_FALSE(parsed.earlyEnd);
    EXPECT_EQ(parsed.totalBytesRead, longRun.size());
}

TEST(CsvEncodingDetection, StringsAreNeverDetectedNorLogged) {
    const LogCapture log;
    EXPECT_EQ(csvComponents(u"CAF\u00C9,\u00FF\uFFFE\n\xD800x"),
              (CsvRows{{u"CAF\u00C9", u"\u00FF\uFFFE"}, {u"\xD800x"}}));
    EXPECT_TRUE(log.lines().empty());
}

TEST(CsvEncodingDetection, AGivenEncodingIsUsedAsIsAndADetectedOneIsPassedBack) {
    CsvEncoding known = CsvEncoding::UTF16BigEndian;
    CsvParser given(std::make_unique<MemoryInputStream>(utf16be(u"a,b")), &known, u',');
    EXPECT_EQ(given.totalBytesRead(), 0u); // nothing is read before the parse
    CsvAggregator rows;
    given.setDelegate(&rows);
    given.parse();
    EXPECT_EQ(rows.lines(), (CsvRows{{u"a", u"b"}}));
    EXPECT_EQ(known, CsvEncoding::UTF16BigEndian);

    CsvEncoding detected = CsvEncoding::Unknown;
    const CsvParser sniffed(std::make_unique<MemoryInputStream>("\xFE\xFF" + utf16be(u"a,b")),
                            &detected, u',');
    EXPECT_EQ(detected, CsvEncoding::UTF16BigEndian);
    EXPECT_EQ(sniffed.totalBytesRead(), 8u);

    const CsvParser unasked(std::make_unique<MemoryInputStream>(std::string(600, 'x')), nullptr,
                            u',');
    EXPECT_EQ(unasked.streamEncoding(), CsvEncoding::UTF8);
    EXPECT_EQ(unasked.totalBytesRead(), 512u);
}

TEST(CsvEncodingDetection, EmptyMissingAndUnreadableFilesReadAsOneEmptyField) {
    const TempDir dir;
    for (const std::string& path :
         {dir.write("empty.csv", ""), dir.file("missing.csv"), dir.path().string()}) {
        SCOPED_TRACE(path);
        const ParsedInput parsed = parseFile(path);
        EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
        EXPECT_EQ(parsed.rows, (CsvRows{{u""}}));
        EXPECT_EQ(parsed.totalBytesRead, 0u);
        EXPECT_FALSE(parsed.earlyEnd);
        EXPECT_TRUE(parsed.logLines.empty());
    }
    EXPECT_EQ(CsvParser::fromFile(dir.write("empty.csv", "")).streamError(), "");
    EXPECT_EQ(CsvParser::fromFile(dir.file("missing.csv")).streamError(),
              "No such file or directory");
    EXPECT_EQ(CsvParser::fromFile(dir.path().string()).streamError(), "Is a directory");
}

} // namespace
} // namespace lanthor::test
