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

using Fields = std::vector<std::u16string>;

/// A writer on memory; `bytes` gives what reached the stream so far.
struct MemoryWriter {
    explicit MemoryWriter(CsvEncoding encoding = CsvEncoding::UTF8, char16_t delimiter = u',')
        : memory(std::make_shared<MemoryOutputStream>()), writer(memory, encoding, delimiter) {}
    const std::string& bytes() const { return memory->data(); }

    std::shared_ptr<MemoryOutputStream> memory;
    CsvWriter writer;
};

/// The UTF-8 text of one line written with writeLineOfFields.
std::string lineOf(const Fields& fields, char16_t delimiter = u',') {
    MemoryWriter out(CsvEncoding::UTF8, delimiter);
    out.writer.writeLineOfFields(fields);
    return out.bytes();
}

TEST(CsvWriter, QuotesOnlyFieldsWithLineBreaksDelimitersOrQuotes) {
    EXPECT_EQ(lineOf({u"a,b", u"x\"y", u"\"", u"plain"}), "\"a,b\",\"x\"\"y\",\"\"\"\",plain\n");
    for (const char16_t lineBreak : {u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const std::u16string field{u'a', lineBreak};
        EXPECT_EQ(lineOf({field}), utf8(u'"' + field + u"\"\n"));
    }
    EXPECT_EQ(lineOf({u" a ", u"#x", u"a\\b", u"\ta", u"", u"\u00E9\U0001F600"}),
              " a ,#x,a\\b,\ta,,\u00E9\U0001F600\n"s);
    // Another delimiter separates and forces quotes instead of the comma.
    EXPECT_EQ(lineOf({u"a,b", u"c\td", u"e"}, u'\t'), "a,b\t\"c\td\"\te\n");
    EXPECT_EQ(lineOf({u"x", u"y\u00A7"}, u'\u00A7'), "x\u00A7\"y\u00A7\"\n"s);
}

TEST(CsvWriter, WritesFieldsNumbersLinesAndComments) {
    MemoryWriter out;
    out.writer.writeField(u"1");
    out.writer.writeField(nullptr); // a null field writes the same nothing as the empty text
    out.writer.writeField(u"");
    out.writer.finishLine();
    out.writer.finishLine();
    // Integers are exact, also beyond 2^53.
    out.writer.writeField(-7);
    out.writer.writeField(2.5);
    out.writer.writeField(std::int64_t{1234567890123456789});
    out.writer.writeField(UINT64_MAX);
    out.writer.writeLineOfFields(Fields{u"b"}); // ends the line left open first
    out.writer.writeComment(u"one\r\ntwo");
    out.writer.writeField(u"f");
    out.writer.writeComment(u"a, \"b\"\u2028");
    EXPECT_EQ(out.bytes(), "1,,\n\n-7,2.5,1234567890123456789,18446744073709551615\nb\n"
                           "#one\n#\n#two\nf\n#a, \"b\"\n#\n");
}

TEST(CsvWriter, UnicodeWritesItsMarkOnceAndOtherEncodingsNone) {
    MemoryWriter unicode(CsvEncoding::Unicode, u';');
    EXPECT_EQ(unicode.bytes(), "\xFF\xFE");
    unicode.writer.writeLineOfFields(Fields{u"a", u"\u00E9\"", u"\U0001F600"});
    unicode.writer.writeComment(u"c");
    unicode.writer.writeField(u"\xD800"); // kept: UTF-16 holds it
    unicode.writer.closeStream();
    unicode.writer.writeField(u"dropped");
    EXPECT_EQ(unicode.bytes(), "\xFF\xFE" + utf16le(u"a;\"\u00E9\"\"\";\U0001F600\n#c\n\xD800"));

    const std::u16string line = u"a,\u00E9\U0001F600\n";
    for (const auto& [encoding, bytes] :
         {std::pair(CsvEncoding::UTF16BigEndian, utf16be(line)),
          std::pair(CsvEncoding::UTF16LittleEndian, utf16le(line)),
          std::pair(CsvEncoding::UTF32BigEndian, utf32be(line)),
          std::pair(CsvEncoding::UTF32LittleEndian, utf32le(line))}) {
        MemoryWriter out(encoding);
        out.writer.writeLineOfFields(Fields{u"a", u"\u00E9\U0001F600"});
        EXPECT_EQ(out.bytes(), bytes) << encodingName(encoding);
    }
    EXPECT_THROW(MemoryWriter(CsvEncoding::ShiftJIS), std::invalid_argument);
    // Text the encoding cannot hold is left out, but its field still counts.
    EXPECT_EQ(lineOf({u"a", u"\xD800", u"b,\xDC00", u"c"}), "a,,,c\n");
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
    std::ptrdiff_t write(const std::uint8_t*, std::size_t length) override {
        return static_cast<std::ptrdiff_t>(length);
    }
    void close() override {
        ++closes;
        status_ = Status::Closed;
    }
    int opens = 0, closes = 0;

private:
    Status status_;
};

TEST(CsvWriter, OpensOnlyAStreamNotYetOpenAndClosesItOnce) {
    const auto fresh = std::make_shared<CountingOutputStream>(CsvOutputStream::Status::NotOpen);
    const auto opened = std::make_shared<CountingOutputStream>(CsvOutputStream::Status::Open);
    {
        CsvWriter first(fresh, CsvEncoding::UTF8, u',');
        const CsvWriter second(opened, CsvEncoding::UTF8, u',');
        first.closeStream();
        first.closeStream();
    }
    EXPECT_EQ(fresh->opens, 1);
    EXPECT_EQ(opened->opens, 0);
    EXPECT_EQ(fresh->closes, 1);
    EXPECT_EQ(opened->closes, 1); // by the destructor

    const TempDir dir;
    const std::string path = dir.write("out.csv", "old content that is longer\n");
    CsvWriter::forWritingToCSVFile(path).writeLineOfFields(Fields{u"\u00E9", u"x,y"});
    EXPECT_EQ(readFile(path), "\u00E9,\"x,y\"\n"s);
}

} // namespace
} // namespace lanthor::test
