#include "csv/CsvReaders.h"
#include "support/Bytes.h"
#include "support/ParseInput.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace lanthor::test {
namespace {

/// About 100,000 code units of text that a quoted field must carry whole: quotes, delimiters,
/// line breaks of every kind, and characters of one to four UTF-8 bytes, mixed irregularly so
/// that block ends fall inside every kind of character.
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

std::u16string quotedField(std::u16string_view text) {
    std::u16string out = u"\"";
    for (const char16_t c : text) {
        out += c;
        if (c == u'"') {
            out += c;
        }
    }
    return out + u"\"";
}

TEST(CsvLongField, AHundredKilobyteQuotedFieldComesBackWhole) {
    const std::u16string content = awkwardText();
    const std::u16string csv = u"head," + quotedField(content) + u",tail\nnext,row";
    const CsvRows sanitized{{u"head", content, u"tail"}, {u"next", u"row"}};
    const CsvRows raw{{u"head", quotedField(content), u"tail"}, {u"next", u"row"}};

    EXPECT_EQ(csvComponents(csv, CsvParserOptionsSanitizesFields), sanitized);
    EXPECT_EQ(csvComponents(csv), raw);

    const TempDir dir;
    for (const std::string& bytes :
         {utf8(csv), "\xEF\xBB\xBF" + utf8(csv), "\xFF\xFE" + utf16le(csv),
          "\xFE\xFF" + utf16be(csv), std::string("\xFF\xFE\x00\x00", 4) + utf32le(csv)}) {
        const std::string path = dir.write("long.csv", bytes);
        const ParsedInput parsed = parseFile(path, CsvParserOptionsSanitizesFields);
        EXPECT_EQ(parsed.rows, sanitized);
        EXPECT_EQ(parsed.totalBytesRead, bytes.size());
        EXPECT_FALSE(parsed.earlyEnd);
        EXPECT_EQ(parseFile(path).rows, raw);
    }
    const ParsedInput trickled = parseStream(std::make_unique<TrickleInputStream>(utf8(csv), 7),
                                             CsvEncoding::UTF8, CsvParserOptionsSanitizesFields);
    EXPECT_EQ(trickled.rows, sanitized);
}

TEST(CsvLongField, LongUnquotedFieldsAndEscapesSpanBlocks) {
    // Escaped delimiters, quotes and line breaks inside one unquoted field.
    std::u16string written, meant;
    for (int i = 0; i < 20000; ++i) {
        written += u"\u00E9\\,\\\"\\\n\\\\";
        meant += u"\u00E9,\"\n\\";
    }
    const CsvRows sanitized{{u"a", meant, u"b"}};
    const CsvRows raw{{u"a", written, u"b"}};
    const std::u16string csv = u"a," + written + u",b";
    constexpr CsvParserOptions escapes = CsvParserOptionsRecognizesBackslashesAsEscapes;

    EXPECT_EQ(csvComponents(csv, escapes | CsvParserOptionsSanitizesFields), sanitized);
    EXPECT_EQ(csvComponents(csv, escapes), raw);
    const TempDir dir;
    const std::string path = dir.write("escaped.csv", utf8(csv));
    EXPECT_EQ(parseFile(path, escapes | CsvParserOptionsSanitizesFields).rows, sanitized);
    EXPECT_EQ(parseFile(path, escapes).rows, raw);
}

} // namespace
} // namespace lanthor::test
