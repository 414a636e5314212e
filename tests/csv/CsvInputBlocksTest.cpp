#include "csv/ByteStreams.h"
#include "csv/CsvReaders.h"
#include "support/Bytes.h"
#include "support/EventRecorder.h"
#include "support/ParseInput.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Reason = CsvEarlyEnd::Reason;

TEST(CsvInputBlocks, AParseErrorStopsReadingWhereTheBlockRuleDoes) {
    // Detection reads the first 512 bytes; the first character operation finds no decoded text
    // and reads a second block. From then on a block is read only when at most a third of the
    // decoded text (at least 10 code units) lies ahead of the next character, counted after each
    // reported field has been dropped from the front.
    const TempDir dir;
    const auto bytesReadBeforeError = [&dir](const std::string& content) {
        const ParsedInput parsed = parseFile(dir.write("error.csv", content));
        EXPECT_FALSE(parsed.rows); // the parse failed
        return parsed.totalBytesRead;
    };
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(2000, 'x')), 1024u);
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(595, 'x')), 600u);
    // 1024 code units decoded: the third block is read when the field reaches index 683
    // (683 + 1024 / 3 >= 1024); an error at 682 comes too early for it.
    EXPECT_EQ(bytesReadBeforeError(std::string(682, 'x') + "\"" + std::string(3000, 'y')), 1024u);
    EXPECT_EQ(bytesReadBeforeError(std::string(700, 'x') + "\"" + std::string(3000, 'y')), 1536u);

    // Short fields keep the decoded text short, so only the 10-unit floor of the margin counts:
    // after the field at 1008..1010 is dropped, 13 units remain and the read comes when the next
    // character is 3 ahead, at 1014.
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

TEST(CsvInputBlocks, ACompleteParseCountsEveryByteMarksIncluded) {
    const TempDir dir;
    const std::u16string text = repeated(u"r\u00E9sum\u00E9,\U0001F600,\"q\"\"\n\"\n", 700);
    for (const std::string& bytes :
         {utf8(text), "\xFF\xFE" + utf16le(text), "\xEF\xBB\xBF" + utf8(text)}) {
        const ParsedInput parsed = parseFile(dir.write("whole.csv", bytes));
        EXPECT_EQ(parsed.totalBytesRead, bytes.size());
        ASSERT_TRUE(parsed.rows);
        EXPECT_EQ(parsed.rows->size(), 701u);
    }
}

TEST(CsvInputBlocks, TheTextEndsAtTheFirstUndecodableByte) {
    const TempDir dir;
    const std::string a1000(1000, 'a');
    ParsedInput parsed =
        parseFile(dir.write("bad.csv", a1000 + "\xFF" + std::string(100, 'b') + "\nc"));
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF8);
    EXPECT_EQ(parsed.rows, (CsvRows{{repeated(u"a", 1000)}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, Reason::UndecodableBytes);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 1000u);
    EXPECT_EQ(parsed.earlyEnd->record, 1u);
    EXPECT_EQ(parsed.earlyEnd->message(),
              "the bytes from offset 1000 are not valid UTF-8 (record 1)");

    // The offset counts from the start of the file, mark included.
    parsed = parseFile(dir.write("bad-bom.csv", "\xEF\xBB\xBF" + a1000 + "\xC3(x"));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 1003u);

    std::string lines;
    for (int i = 0; i < 600; ++i) {
        lines += "x\n";
    }
    parsed = parseFile(dir.write("lines.csv", lines + "\x80y\n"));
    ASSERT_TRUE(parsed.rows);
    EXPECT_EQ(parsed.rows->size(), 601u);
    EXPECT_EQ(parsed.rows->back(), CsvRow{u""});
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->byteOffset, 1200u);
    EXPECT_EQ(parsed.earlyEnd->record, 601u);

    // Bytes that end inside a character never decode either.
    const struct {
        std::string bytes;
        CsvRows rows;
        std::uint64_t offset;
    } cases[] = {
        {"a,b\xC3", {{u"a", u"b"}}, 3},
        {"\xFF\xFE" + utf16le(u"a,b") + "\x00"s, {{u"a", u"b"}}, 8},
        {"\x00\x00\xFE\xFF"s + utf32be(u"a") + "\x00\x11\x00\x00"s + utf32be(u"b"), {{u"a"}}, 8},
        {"\x00\x00\xFE\xFF"s + utf32be(u"a") + "\x00\x00\xD8\x00"s, {{u"a"}}, 8},
    };
    for (const auto& c : cases) {
        parsed = parseFile(dir.write("cut.csv", c.bytes));
        EXPECT_EQ(parsed.rows, c.rows);
        ASSERT_TRUE(parsed.earlyEnd);
        EXPECT_EQ(parsed.earlyEnd->reason, Reason::UndecodableBytes);
        EXPECT_EQ(parsed.earlyEnd->byteOffset, c.offset);
    }

    // UTF-16 passes unpaired surrogates through as text.
    parsed = parseFile(dir.write("lone.csv", "\xFF\xFE" + utf16le(u"\xD800,\xDC00x")));
    EXPECT_EQ(parsed.rows, (CsvRows{{u"\xD800", u"\xDC00x"}}));
    EXPECT_FALSE(parsed.earlyEnd);
}

TEST(CsvInputBlocks, ANulCharacterEndsTheText) {
    const TempDir dir;
    ParsedInput parsed = parseFile(dir.write("nul.csv", "a,b\n\0c,d"s));
    EXPECT_EQ(parsed.rows, (CsvRows{{u"a", u"b"}, {u""}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, Reason::NulCharacter);
    EXPECT_EQ(parsed.earlyEnd->record, 2u);
    EXPECT_EQ(parsed.earlyEnd->message(), "a U+0000 character ends the text in record 2");

    parsed = parseFile(dir.write("nul16.csv", "\xFE\xFF" + utf16be(u"x,\"y\0\""s)));
    EXPECT_EQ(parsed.rows, (CsvRows{{u"x"}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, Reason::NulCharacter);

    const CsvReadResult text = readCsvText(u"a\0b"s);
    EXPECT_EQ(text.rows, (CsvRows{{u"a"}}));
    ASSERT_TRUE(text.earlyEnd);
    EXPECT_EQ(text.earlyEnd->reason, Reason::NulCharacter);
}

TEST(CsvInputBlocks, AQuotedFieldLeftOpenIsAnEarlyEnd) {
    const TempDir dir;
    const ParsedInput parsed = parseFile(dir.write("open.csv", "a\nb,\"cd\ne"));
    EXPECT_EQ(parsed.rows, (CsvRows{{u"a"}, {u"b"}}));
    ASSERT_TRUE(parsed.earlyEnd);
    EXPECT_EQ(parsed.earlyEnd->reason, Reason::OpenQuotedField);
    EXPECT_EQ(parsed.earlyEnd->record, 2u);
    EXPECT_EQ(parsed.earlyEnd->message(), "a quoted field in record 2 is never closed");
}

TEST(CsvInputBlocks, OnlyATextThatEndedBeforeItsBytesIsAnEarlyEnd) {
    const TempDir dir;
    EXPECT_FALSE(parseFile(dir.write("fine.csv", "a,\"b\"\n")).earlyEnd);
    EXPECT_FALSE(readCsvText(u"a,\"b\"\n").earlyEnd);

    // A parse error or a cancel already ends the parse short; neither is an early end.
    const std::string bad = dir.write("error.csv", "\"a\"b\n\xFF");
    EXPECT_FALSE(parseFile(bad).earlyEnd);
    EventRecorder recorder;
    recorder.onField = [](CsvParser& parser, const std::u16string&, std::int64_t) {
        parser.cancelParsing();
    };
    CsvParser parser = CsvParser::fromFile(dir.write("cancel.csv", "a,\"b"));
    parser.setDelegate(&recorder);
    parser.parse();
    EXPECT_FALSE(parser.earlyEnd());
}

TEST(CsvInputBlocks, SmallReadsGiveTheSameTextAsWholeBlocks) {
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
    };
    for (const auto& source : sources) {
        for (const std::size_t chunk : {1u, 2u, 3u, 5u, 511u}) {
            SCOPED_TRACE(std::string(encodingName(source.encoding)) + " in reads of " +
                         std::to_string(chunk));
            const ParsedInput parsed =
                parseStream(std::make_unique<TrickleInputStream>(source.bytes, chunk),
                            source.encoding, CsvParserOptionsSanitizesFields);
            EXPECT_EQ(parsed.rows, expected);
            EXPECT_EQ(parsed.totalBytesRead, source.bytes.size());
            EXPECT_FALSE(parsed.earlyEnd);
        }
    }
}

TEST(CsvInputBlocks, DetectionLooksAtAWholeFirstBlockFromSmallReads) {
    const std::u16string text = repeated(u"\u00E9,\U0001F600\n", 100);
    const CsvRows expected = *csvComponents(text);
    ParsedInput parsed = parseStream(
        std::make_unique<TrickleInputStream>("\xFF\xFE" + utf16le(text), 1), CsvEncoding::Unknown);
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF16LittleEndian);
    EXPECT_EQ(parsed.rows, expected);
    parsed =
        parseStream(std::make_unique<TrickleInputStream>("\x00\x00\xFE\xFF"s + utf32be(text), 3),
                    CsvEncoding::Unknown);
    EXPECT_EQ(parsed.encoding, CsvEncoding::UTF32BigEndian);
    EXPECT_EQ(parsed.rows, expected);
    // Latin-1 whose first accent lies beyond the first read is still found out.
    parsed = parseStream(std::make_unique<TrickleInputStream>(
                             std::string(20, 'a') + "\xC9" + std::string(20, 'a'), 4),
                         CsvEncoding::Unknown);
    EXPECT_EQ(parsed.encoding, CsvEncoding::ShiftJIS);
    EXPECT_EQ(parsed.logLines.size(), 1u);
    EXPECT_EQ(parsed.totalBytesRead, 41u);
}

} // namespace
} // namespace lanthor::test
