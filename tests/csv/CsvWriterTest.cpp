#include "csv/CsvWriter.h"

#include "support/Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Fields = std::vector<std::u16string>;

/// The bytes of `write`'s output in `encoding`.
template <typename Write>
std::string written(Write write, CsvEncoding encoding = CsvEncoding::UTF8,
                    char16_t delimiter = u',') {
    const auto memory = std::make_shared<MemoryOutputStream>();
    CsvWriter writer(memory, encoding, delimiter);
    write(writer);
    return memory->data();
}

std::string lineOf(const Fields& fields, CsvEncoding encoding = CsvEncoding::UTF8,
                   char16_t delimiter = u',') {
    return written([&fields](CsvWriter& writer) { writer.writeLineOfFields(fields); }, encoding,
                   delimiter);
}

TEST(CsvWriter, QuotesOnlyFieldsWithLineBreaksDelimitersOrQuotes) {
    EXPECT_EQ(lineOf({u"a,b", u"x\"y", u"\"", u" a ", u"#x", u"a\\b", u"", u"\u00E9"}),
              "\"a,b\",\"x\"\"y\",\"\"\"\", a ,#x,a\\b,,\u00E9\n"s);
    for (const char16_t lineBreak : {u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const std::u16string field{u'a', lineBreak};
        EXPECT_EQ(lineOf({field}), utf8(u'"' + field + u"\"\n"));
    }
    // Another delimiter separates and forces quotes instead of the comma.
    EXPECT_EQ(lineOf({u"a,b", u"c\td", u"e"}, CsvEncoding::UTF8, u'\t'), "a,b\t\"c\td\"\te\n");
    // Text the encoding cannot hold is left out, but its field still counts.
    EXPECT_EQ(lineOf({u"a", u"\xD800", u"b,\xDC00", u"c"}), "a,,,c\n");
}

TEST(CsvWriter, WritesFieldsNumbersLinesAndCommentsInEveryEncodingItOffers) {
    EXPECT_EQ(
        written([](CsvWriter& writer) {
            writer.writeField(u"1");
            writer.writeField(nullptr); // the same nothing as the empty text
            writer.finishLine();
            writer.finishLine();
            writer.writeField(-7);
            writer.writeField(2.5);
            writer.writeField(std::int64_t{1234567890123456789}); // exact beyond 2^53
            writer.writeField(UINT64_MAX);
            writer.writeLineOfFields(Fields{u"b"}); // ends the open line first
            writer.writeField(u"f");
            writer.writeComment(u"one\r\ntwo, \"q\"");
        }),
        "1,\n\n-7,2.5,1234567890123456789,18446744073709551615\nb\nf\n#one\n#\n#two, \"q\"\n");
    // Unicode writes its mark once, first; the others write none.
    EXPECT_EQ(written([](CsvWriter&) {}, CsvEncoding::Unicode), "\xFF\xFE");
    const std::u16string line = u"a;\u00E9\U0001F600;\xD800\n";
    const Fields fields{u"a", u"\u00E9\U0001F600", u"\xD800"};
    EXPECT_EQ(lineOf(fields, CsvEncoding::Unicode, u';'), "\xFF\xFE" + utf16le(line));
    EXPECT_EQ(lineOf(fields, CsvEncoding::UTF16BigEndian, u';'), utf16be(line));
    EXPECT_EQ(lineOf(fields, CsvEncoding::UTF16LittleEndian, u';'), utf16le(line));
    EXPECT_EQ(lineOf(fields, CsvEncoding::UTF32BigEndian, u';'), utf32be(u"a;\u00E9\U0001F600;\n"));
    EXPECT_EQ(lineOf(fields, CsvEncoding::UTF32LittleEndian, u';'),
              utf32le(u"a;\u00E9\U0001F600;\n"));
    EXPECT_THROW(lineOf(fields, CsvEncoding::ShiftJIS), std::invalid_argument);
}

TEST(CsvWriter, OpensOnlyAStreamNotYetOpenAndClosesIt) {
    const TempDir dir;
    const auto file = std::make_shared<FileOutputStream>(dir.write("out.csv", "old content\n"));
    file->open();
    file->write(reinterpret_cast<const std::uint8_t*>("kept,"), 5);
    {
        CsvWriter writer(file, CsvEncoding::UTF8, u',');
        writer.writeField(u"x");
    }
    EXPECT_EQ(file->status(), CsvOutputStream::Status::Closed);
    EXPECT_EQ(readFile(dir.file("out.csv")), "kept,x");
    CsvWriter::forWritingToCSVFile(dir.file("out.csv"))
        .writeLineOfFields(Fields{u"\u00E9", u"x,y"});
    EXPECT_EQ(readFile(dir.file("out.csv")), "\u00E9,\"x,y\"\n"s);
}

} // namespace
} // namespace lanthor::test
