#include "csv/CsvReaders.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace lanthor::test {
namespace {

TEST(CsvReaders, RefuseADelimiterThatCollidesWithTheGrammarBeforeReading) {
    const TempDir dir;
    const LogCapture log; // a Latin-1 file would log the Shift JIS fallback once opened
    EXPECT_THROW(arrayWithContentsOfCSVFile(dir.write("latin1.csv", std::string(600, '\xC9')),
                                            CsvParserOptionsRecognizesComments, u'#'),
                 std::invalid_argument);
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
}

TEST(CsvReaders, CsvStringWritesRowsThatReadBackTheSame) {
    const CsvRows rows{{u"0", u"1 2", u"R", u"Top, \"quoted\""},
                       {u"line\nbreak", u"\r\n", u" blank ", u"#", u"\\", u"\U0001F600"}};
    EXPECT_EQ(csvComponents(csvString(rows), CsvParserOptionsSanitizesFields),
              (CsvRows{rows[0], rows[1], {u""}}));
    // Empty rows are empty lines, which read back as part of a run of line breaks.
    EXPECT_EQ(csvString({{u"a"}, {}, {u""}, {u"b"}}), u"a\n\n\nb\n");
}

} // namespace
} // namespace lanthor::test
