#include "csv/CsvWriter.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

std::string lineOf(const std::vector<std::u16string>& fields,
                   CsvEncoding encoding = CsvEncoding::UTF8, char16_t delimiter = u',') {
    const auto memory = std::make_shared<MemoryOutputStream>();
    CsvWriter(memory, encoding, delimiter).writeLineOfFields(fields);
    return memory->data();
}

TEST(CsvWriter, QuotesOnlyFieldsWithLineBreaksDelimitersOrQuotes) {
    EXPECT_EQ(lineOf({u"a,b", u"x\"y", u"\"", u" a ", u"#x", u"a\\b", u"", u"\u00E9"}),
              "\"a,b\",\"x\"\"y\",\"\"\"\", a ,#x,a\\b,,\u00E9\n"s);
    for (const char16_t lineBreak : {u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const std::u16string field{u'a', lineBreak};
        EXPECT_EQ(lineOf({field}), utf8(u'"' + field + u"\"\n"));
    }
    // Another delimiter quotes instead of the comma; text an encoding cannot hold is left out.
    const std::vector<std::u16string> fields{u"a,b", u"c;d", u"\U0001F600\xD800"};
    EXPECT_EQ(lineOf(fields, CsvEncoding::UTF8, u';'), "a,b;\"c;d\";\n");
    EXPECT_EQ(lineOf(fields, CsvEncoding::Unicode, u';'),
              "\xFF\xFE" + utf16le(u"a,b;\"c;d\";\U0001F600\xD800\n"));
    EXPECT_THROW(lineOf(fields, CsvEncoding::ShiftJIS), std::invalid_argument);
}

TEST(CsvWriter, WritesIntegersExactly) {
    const auto memory = std::make_shared<MemoryOutputStream>();
    CsvWriter writer(memory, CsvEncoding::UTF8, u',');
    writer.writeField(-7);
    writer.writeField(2.5);
    writer.writeField(std::int64_t{1234567890123456789}); // beyond 2^53
    writer.writeField(UINT64_MAX);
    EXPECT_EQ(memory->data(), "-7,2.5,1234567890123456789,18446744073709551615");
}

} // namespace
} // namespace lanthor::test
