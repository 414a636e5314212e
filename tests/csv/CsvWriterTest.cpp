#include "csv/CsvWriter.h"

#include "support/Bytes.h"
#include "support/TempDir.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

/// A writer on memory; `bytes` gives what reached the stream so far.
struct MemoryWriter {
    explicit MemoryWriter(CsvEncoding encoding = CsvEncoding::UTF8, char16_t delimiter = u',')
        : memory(std::make_shared<MemoryOutputStream>()), writer(memory, encoding, delimiter) {}
    const std::string& bytes() const { return memory->data(); }

    std::shared_ptr<MemoryOutputStream> memory;
    CsvWriter writer;
};

/// The UTF-8 text of one line written with writeLineOfFields.
std::string lineOf(const std::vector<std::u16string>& fields, char16_t delimiter = u',') {
    MemoryWriter out(CsvEncoding::UTF8, delimiter);
    out.writer.writeLineOfFields(fields);
    return out.bytes();
}

TEST(CsvWriter, FieldsAreSeparatedByTheDelimiterAndLinesEndInALineFeed) {
    MemoryWriter out;
    out.writer.writeField(u"1");
    out.writer.writeField(u"");
    out.writer.writeField(u"R");
    out.writer.writeField(u"Root");
    out.writer.finishLine();
    EXPECT_EQ(out.bytes(), "1,,R,Root\n");
    // A null field and an empty text write the same nothing.
    out.writer.writeField(nullptr);
    out.writer.writeField(u"");
    out.writer.writeField(nullptr);
    out.writer.finishLine();
    out.writer.finishLine();
    EXPECT_EQ(out.bytes(), "1,,R,Root\n,,\n\n");
}

TEST(CsvWriter, QuotesOnlyFieldsWithLineBreaksDelimitersOrQuotes) {
    EXPECT_EQ(lineOf({u"a,b", u"x\"y", u"\"", u"plain"}), "\"a,b\",\"x\"\"y\",\"\"\"\",plain\n");
    for (const char16_t lineBreak : {u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const std::u16string field{u'a', lineBreak, u'b'};
        EXPECT_EQ(lineOf({field}), utf8(u'"' + field + u"\"\n"));
    }
    // Blanks, tabs, number signs, backslashes and the empty text stay bare.
    EXPECT_EQ(lineOf({u" a ", u"#x", u"a\\b", u"\ta", u"", u"\u00E9\U0001F600"}),
              " a ,#x,a\\b,\ta,,\u00E9\U0001F600\n"s);
}

TEST(CsvWriter, NumbersAreWrittenInDecimal) {
    MemoryWriter out;
    out.writer.writeField(42);
    out.writer.writeField(-7);
    out.writer.writeField(2.5);
    out.writer.writeField(std::int64_t{1234567890123456789});
    out.writer.writeField(UINT64_MAX);
    out.writer.finishLine();
    EXPECT_EQ(out.bytes(), "42,-7,2.5,1234567890123456789,18446744073709551615\n");
}

TEST(CsvWriter, WholeLinesEndALineThatFieldsLeftOpen) {
    MemoryWriter out;
    out.writer.writeLineOfFields(std::vector<std::u16string>{});
    out.writer.writeField(u"a");
    out.writer.writeLineOfFields(std::vector<std::u16string>{u"b", u"c"});
    out.writer.writeLineOfFields(std::vector<std::u16string>{u""});
    EXPECT_EQ(out.bytes(), "\na\nb,c\n\n");
}

TEST(CsvWriter, CommentsAreOneLinePerLineBreakAndNeverQuoted) {
    MemoryWriter out;
    out.writer.writeComment(u"one\ntwo");
    out.writer.writeComment(u"x\r\ny");
    out.writer.writeComment(u"");
    out.writer.writeComment(u"a, \"b\"");
    out.writer.writeField(u"f");
    out.writer.writeComment(u"after\u2028field");
    out.writer.writeField(u"g");
    out.writer.finishLine();
    EXPECT_EQ(out.bytes(), "#one\n#two\n#x\n#\n#y\n#\n#a, \"b\"\nf\n#after\n#field\ng\n");
}

TEST(CsvWriter, UnicodeWritesItsMarkOnceThenLittleEndianCodeUnits) {
    MemoryWriter out(CsvEncoding::Unicode);
    EXPECT_EQ(out.bytes(), "\xFF\xFE");
    out.writer.writeField(u"a");
    out.writer.writeField(u"\u00E9\"");
    out.writer.writeField(u"\U0001F600");
    out.writer.finishLine();
    out.writer.writeComment(u"c");
    out.writer.closeStream();
    EXPECT_EQ(out.bytes(), "\xFF\xFE" + utf16le(u"a,\"\u00E9\"\"\",\U0001F600\n#c\n"));

    MemoryWriter closedAtOnce(CsvEncoding::Unicode);
    closedAtOnce.writer.closeStream();
    EXPECT_EQ(closedAtOnce.bytes(), "\xFF\xFE");
}

TEST(CsvWriter, OtherEncodingsHaveNoMark) {
    const std::u16string line = u"a,\u00E9\U0001F600\n";
    const struct {
        CsvEncoding encoding;
        std::string bytes;
    } cases[] = {
        {CsvEncoding::UTF16BigEndian, utf16be(line)},
        {CsvEncoding::UTF16LittleEndian, utf16le(line)},
        {CsvEncoding::UTF32BigEndian, utf32be(line)},
        {CsvEncoding::UTF32LittleEndian, utf32le(line)},
    };
    for (const auto& c : cases) {
        MemoryWriter out(c.encoding);
        out.writer.writeLineOfFields(std::vector<std::u16string>{u"a", u"\u00E9\U0001F600"});
        EXPECT_EQ(out.bytes(), c.bytes) << encodingName(c.encoding);
    }
    EXPECT_THROW(MemoryWriter(CsvEncoding::ShiftJIS), std::invalid_argument);
}

TEST(CsvWriter, TextTheEncodingCannotHoldIsLeftOutButItsFieldCounts) {
    MemoryWriter out;
    out.writer.writeLineOfFields(std::vector<std::u16string>{u"a", u"\xD800", u"b,\xDC00", u"c"});
    EXPECT_EQ(out.bytes(), "a,,,c\n");
    MemoryWriter unicode(CsvEncoding::Unicode);
    unicode.writer.writeField(u"\xD800");
    EXPECT_EQ(unicode.bytes(), "\xFF\xFE\x00\xD8"s);
}

TEST(CsvWriter, AnotherDelimiterSeparatesAndForcesQuotesInsteadOfTheComma) {
    EXPECT_EQ(lineOf({u"a,b", u"c\td", u"e"}, u'\t'), "a,b\t\"c\td\"\te\n");
    EXPECT_EQ(lineOf({u"a,b", u"c;d"}, u';'), "a,b;\"c;d\"\n");
    EXPECT_EQ(lineOf({u"x", u"y\u00A7"}, u'\u00A7'), "x\u00A7\"y\u00A7\"\n"s);
    MemoryWriter unicode(CsvEncoding::Unicode, u';');
    unicode.writer.writeLineOfFields(std::vector<std::u16string>{u"a", u"b"});
    EXPECT_EQ(unicode.bytes(), "\xFF\xFE" + utf16le(u"a;b\n"));
}

/// Counts how often it is opened and closed.
class CountingOutputStream final : public CsvOutputStream {
public:
    explicit CountingOutputStream(Status status) : status_(status) {}
    Status status() const override { return status_; }
    void open() override {
        ++opens;
        status_ = Status::Open;
    }
    std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) override {
        data.append(reinterpret_cast<const char*>(bytes), length);
        return static_cast<std::ptrdiff_t>(length);
    }
    void close() override {
        ++closes;
        status_ = Status::Closed;
    }
    int opens = 0, closes = 0;
    std::string data;

private:
    Status status_;
};

TEST(CsvWriter, OpensOnlyAStreamNotYetOpenAndClosesItOnce) {
    const auto fresh = std::make_shared<CountingOutputStream>(CsvOutputStream::Status::NotOpen);
    const auto opened = std::make_shared<CountingOutputStream>(CsvOutputStream::Status::Open);
    {
        CsvWriter first(fresh, CsvEncoding::UTF8, u',');
        CsvWriter second(opened, CsvEncoding::UTF8, u',');
        first.writeField(u"a");
        first.closeStream();
        first.closeStream();
        first.writeField(u"b");
        first.finishLine();
        first.writeComment(u"c");
    }
    EXPECT_EQ(fresh->opens, 1);
    EXPECT_EQ(opened->opens, 0);
    EXPECT_EQ(fresh->closes, 1);
    EXPECT_EQ(opened->closes, 1); // by the destructor
    EXPECT_EQ(fresh->data, "a");

    MemoryWriter nothing;
    nothing.writer.closeStream();
    EXPECT_EQ(nothing.bytes(), "");
}

TEST(CsvWriter, WritesAFileInUtf8ReplacingItsContent) {
    const TempDir dir;
    const std::string path = dir.write("out.csv", "old content that is longer\n");
    {
        CsvWriter writer = CsvWriter::forWritingToCSVFile(path);
        writer.writeLineOfFields(std::vector<std::u16string>{u"\u00E9", u"x,y"});
    }
    EXPECT_EQ(readFile(path), "\u00E9,\"x,y\"\n"s);
}

} // namespace
} // namespace lanthor::test
