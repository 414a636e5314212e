#include "csv/CsvReaders.h"

#include "support/Bytes.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace lanthor::test {
namespace {

constexpr CsvParserOptions kSanitize = CsvParserOptionsSanitizesFields;

TEST(CsvReaders, TextReadersGiveOneRowPerRecordUnpadded) {
    EXPECT_EQ(csvComponents(u""), (CsvRows{{u""}}));
    EXPECT_EQ(csvComponents(u"a,b,c\nd\n"), (CsvRows{{u"a", u"b", u"c"}, {u"d"}, {u""}}));
    EXPECT_EQ(csvComponents(u"a,b,c\nd"), (CsvRows{{u"a", u"b", u"c"}, {u"d"}}));
    EXPECT_EQ(csvComponents(u"a;b,c", 0, u';'), (CsvRows{{u"a", u"b,c"}}));
    // Comments are never part of the rows.
    EXPECT_EQ(csvComponents(u"#c\na\n#d", CsvParserOptionsRecognizesComments),
              (CsvRows{{u"a"}, {u""}}));
    // A quoted field left open is dropped from its row.
    EXPECT_EQ(csvComponents(u"a\nb,\"c,d\n"), (CsvRows{{u"a"}, {u"b"}}));
    // After a parse error there are no rows at all.
    EXPECT_EQ(csvComponents(u"a,b\nc,d\ne\"f"), std::nullopt);
    const CsvReadResult failed = readCsvText(u"a\n\"b\"c");
    EXPECT_EQ(failed.rows, std::nullopt);
    ASSERT_TRUE(failed.error);
    EXPECT_EQ(failed.error->message,
              u"Unexpected delimiter. Expected ',' (0x2C), but got 'c' (0x63)");
}

TEST(CsvReaders, TreeRowsKeepOrLoseTheirQuotesByOption) {
    const std::u16string row = u"7,8 9,R,\"a, \"\"b\"\", c\"";
    EXPECT_EQ(csvComponents(row, kSanitize), (CsvRows{{u"7", u"8 9", u"R", u"a, \"b\", c"}}));
    EXPECT_EQ(csvComponents(row), (CsvRows{{u"7", u"8 9", u"R", u"\"a, \"\"b\"\", c\""}}));
    // Bits above 8 change nothing; 15 turns all four options on.
    const std::u16string text = u"#c\n \"a\\\"b\" , x\\,y \n";
    const CsvRows all{{u"a\"b", u"x,y"}, {u""}};
    EXPECT_EQ(csvComponents(text, 15), all);
    EXPECT_EQ(csvComponents(text, 15 | 16 | 1024 | (CsvParserOptions{1} << 63)), all);
    EXPECT_EQ(csvComponents(row, kSanitize | 0xFFF0), csvComponents(row, kSanitize));
}

TEST(CsvReaders, FileReadersDetectTheEncodingAndMissingFilesAreEmpty) {
    const TempDir dir;
    const std::string saved =
        dir.write("tree.csv", "\xFF\xFE" + utf16le(u"0,1,R,\"Top, \"\"one\"\"\"\n1,,,\u00E9\n"));
    EXPECT_EQ(arrayWithContentsOfCSVFile(saved, kSanitize),
              (CsvRows{{u"0", u"1", u"R", u"Top, \"one\""}, {u"1", u"", u"", u"\u00E9"}, {u""}}));
    const CsvReadResult read = readCsvFile(saved);
    EXPECT_EQ(read.encoding, CsvEncoding::UTF16LittleEndian);
    EXPECT_EQ(read.streamError, "");

    EXPECT_EQ(arrayWithContentsOfCSVFile(dir.file("missing.csv")), (CsvRows{{u""}}));
    EXPECT_EQ(readCsvFile(dir.file("missing.csv")).streamError, "No such file or directory");
    EXPECT_EQ(arrayWithContentsOfCSVFile(dir.write("empty.csv", "")), (CsvRows{{u""}}));
    // An error in the last line loses every row before it.
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

    EXPECT_EQ(csvString({}), u"");
    // An empty row and a row of one empty field are both an empty line, which reads back as
    // part of a run of line breaks.
    EXPECT_EQ(csvString({{u"a"}, {}, {u""}, {u"b"}}), u"a\n\n\nb\n");
    EXPECT_EQ(csvComponents(csvString({{u"a"}, {}, {u""}, {u"b"}})),
              (CsvRows{{u"a"}, {u"b"}, {u""}}));
}

TEST(CsvReaders, DelimitersThatCollideWithTheGrammarAreRefusedBeforeReading) {
    const TempDir dir;
    const std::string latin1 = dir.write("latin1.csv", std::string(600, '\xC9'));
    const LogCapture log;
    for (const char16_t delimiter : {u'\0', u'"', u'\n', u'\r', u'\u0085', u'\u2028'}) {
        EXPECT_THROW(csvComponents(u"a", 0, delimiter), std::invalid_argument);
        EXPECT_THROW(arrayWithContentsOfCSVFile(latin1, 0, delimiter), std::invalid_argument);
    }
    EXPECT_THROW(csvComponents(u"a", CsvParserOptionsRecognizesBackslashesAsEscapes, u'\\'),
                 std::invalid_argument);
    EXPECT_THROW(arrayWithContentsOfCSVFile(latin1, 4 | kSanitize, u'#'), std::invalid_argument);
    EXPECT_TRUE(log.lines().empty()); // refused before the file was opened
    try {
        csvComponents(u"a", CsvParserOptionsRecognizesComments, u'#');
        ADD_FAILURE() << "the number sign was accepted with comments on";
    } catch (const std::invalid_argument& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "the delimiter U+0023 cannot be used while comments are recognized");
    }
    EXPECT_EQ(csvComponents(u"a\\b#c", kSanitize, u'\\'), (CsvRows{{u"a", u"b#c"}}));
    EXPECT_EQ(csvComponents(u"a\\b#c", kSanitize, u'#'), (CsvRows{{u"a\\b", u"c"}}));
}

} // namespace
} // namespace lanthor::test
