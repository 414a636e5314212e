#include "csv/CsvReaders.h"

#include "support/Bytes.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace lanthor::test {
namespace {

constexpr CsvParserOptions kSanitize = CsvParserOptionsSanitizesFields;

TEST(CsvReaders, GiveOneUnpaddedRowPerRecordOrNoneAfterAnError) {
    EXPECT_EQ(csvComponents(u"a,b,c\nd\n"), (CsvRows{{u"a", u"b", u"c"}, {u"d"}, {u""}}));
    EXPECT_EQ(csvComponents(u"#c\na\n#d", CsvParserOptionsRecognizesComments),
              (CsvRows{{u"a"}, {u""}}));
    EXPECT_EQ(csvComponents(u"a\nb,\"c,d\n"), (CsvRows{{u"a"}, {u"b"}})); // open field dropped
    const std::u16string row = u"7,8 9,R,\"a, \"\"b\"\", c\"";
    EXPECT_EQ(csvComponents(row, kSanitize), (CsvRows{{u"7", u"8 9", u"R", u"a, \"b\", c"}}));
    EXPECT_EQ(csvComponents(row), (CsvRows{{u"7", u"8 9", u"R", u"\"a, \"\"b\"\", c\""}}));
    EXPECT_EQ(csvComponents(u" \"a\\\"b\" , x\\,y ", 15 | 1024), (CsvRows{{u"a\"b", u"x,y"}}));
    EXPECT_EQ(csvComponents(u"a,b\nc,d\ne\"f"), std::nullopt);
    const CsvReadResult failed = readCsvText(u"a\n\"b\"c");
    EXPECT_EQ(failed.rows, std::nullopt);
    EXPECT_EQ(failed.error->message,
              u"Unexpected delimiter. Expected ',' (0x2C), but got 'c' (0x63)");

    const TempDir dir;
    const std::string saved =
        dir.write("tree.csv", "\xFF\xFE" + utf16le(u"0,1,R,\"Top, \"\"one\"\"\"\n1,,,\u00E9\n"));
    EXPECT_EQ(arrayWithContentsOfCSVFile(saved, kSanitize),
              (CsvRows{{u"0", u"1", u"R", u"Top, \"one\""}, {u"1", u"", u"", u"\u00E9"}, {u""}}));
    EXPECT_EQ(arrayWithContentsOfCSVFile(dir.write("bad.csv", "a,b\nc,d\n\"e\"f")), std::nullopt);
    EXPECT_EQ(arrayWithContentsOfCSVFile(dir.write("semi.csv", "a;b"), 0, u';'),
              (CsvRows{{u"a", u"b"}}));
}

TEST(CsvReaders, CsvStringWritesRowsThatReadBackTheSame) {
    const CsvRows rows{{u"0", u"1 2", u"R", u"Top, \"quoted\""},
                       {u"line\nbreak", u"\r\n", u" blank ", u"#", u"\\"},
                       {u"\u00E9\U0001F600", u""},
                       {u"", u""}};
    const std::u16string text = csvString(rows);
    EXPECT_EQ(text, u"0,1 2,R,\"Top, \"\"quoted\"\"\"\n\"line\nbreak\",\"\r\n\", blank ,#,\\\n"
                    u"\u00E9\U0001F600,\n,\n");
    CsvRows back = rows;
    back.push_back({u""});
    EXPECT_EQ(csvComponents(text, kSanitize), back);
    // An empty row and a row of one empty field are both an empty line, which reads back as
    // part of a run of line breaks.
    EXPECT_EQ(csvString({{u"a"}, {}, {u""}, {u"b"}}), u"a\n\n\nb\n");
    EXPECT_EQ(csvString({}), u"");
}

TEST(CsvReaders, RefuseADelimiterThatCollidesWithTheGrammarBeforeReading) {
    const TempDir dir;
    const std::string latin1 = dir.write("latin1.csv", std::string(600, '\xC9'));
    const LogCapture log;
    EXPECT_THROW(csvComponents(u"a", CsvParserOptionsRecognizesBackslashesAsEscapes, u'\\'),
                 std::invalid_argument);
    EXPECT_THROW(arrayWithContentsOfCSVFile(latin1, 0, u'"'), std::invalid_argument);
    EXPECT_THROW(arrayWithContentsOfCSVFile(latin1, 4 | kSanitize, u'#'), std::invalid_argument);
    EXPECT_EQ(log.lines(), std::vector<std::string>{}); // the file was never opened
    try {
        csvComponents(u"a", CsvParserOptionsRecognizesComments, u'#');
        ADD_FAILURE() << "the number sign was accepted with comments on";
    } catch (const std::invalid_argument& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "the delimiter U+0023 cannot be used while comments are recognized");
    }
    EXPECT_EQ(csvComponents(u"a\\b#c", kSanitize, u'\\'), (CsvRows{{u"a", u"b#c"}}));
}

} // namespace
} // namespace lanthor::test
