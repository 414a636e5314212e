// The record grammar and the parser's events, on text in memory. How bytes become that text,
// and where it ends early, is CsvParserInputTest's.

#include "csv/CsvParser.h"

#include "csv/CsvReaders.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

constexpr CsvParserOptions kEscapes = CsvParserOptionsRecognizesBackslashesAsEscapes;
constexpr CsvParserOptions kSanitize = CsvParserOptionsSanitizesFields;
constexpr CsvParserOptions kComments = CsvParserOptionsRecognizesComments;
constexpr CsvParserOptions kStrip = CsvParserOptionsStripsLeadingAndTrailingWhitespace;

/// The events as one line: "{" and "}" begin and end the document, "<1" and ">1" record 1,
/// "0[a]" is field 0 holding a, "#[c]" a comment, "!code message" the error.
class EventRecorder final : public CsvParserDelegate {
public:
    std::string events;

    void parserDidBeginDocument(CsvParser&) override { add("{"); }
    void parserDidEndDocument(CsvParser&) override { add("}"); }
    void parserDidBeginLine(CsvParser&, std::uint64_t n) override { add("<" + std::to_string(n)); }
    void parserDidEndLine(CsvParser&, std::uint64_t n) override { add(">" + std::to_string(n)); }
    void parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t i) override {
        add(std::to_string(i) + "[" + toUtf8(field) + "]");
    }
    void parserDidReadComment(CsvParser&, const std::u16string& comment) override {
        add("#[" + toUtf8(comment) + "]");
    }
    void parserDidFailWithError(CsvParser&, const CsvError& error) override {
        add("!" + std::to_string(error.code) + " " + toUtf8(error.message));
    }

private:
    void add(const std::string& event) { events += (events.empty() ? "" : " ") + event; }
};

std::string parseEvents(std::u16string_view csv, CsvParserOptions options = 0,
                        char16_t delimiter = u',') {
    EventRecorder recorder;
    CsvParser parser = CsvParser::fromString(csv, delimiter);
    parser.setOptions(options);
    parser.setDelegate(&recorder);
    parser.parse();
    return recorder.events;
}

std::optional<CsvRows> rows(std::u16string_view csv, CsvParserOptions options = 0,
                            char16_t delimiter = u',') {
    return csvComponents(csv, options, delimiter);
}

TEST(CsvParser, RecordsEndAtAnyRunOfLineBreaksAndFieldsAtTheDelimiter) {
    EXPECT_EQ(parseEvents(u""), "{ <1 0[] >1 }");
    EXPECT_EQ(parseEvents(u"a,b\n"), "{ <1 0[a] 1[b] >1 <2 0[] >2 }"); // a final break: a record
    for (const std::u16string_view text : {u"a\nb\nc", u"a\r\nb\r\nc", u"a\n\n\r\n\rb\n\n\nc",
                                           u"a\u2028b\u2029c", u"a\u0085b\u000Bc", u"a\fb\rc"}) {
        EXPECT_EQ(rows(text), (CsvRows{{u"a"}, {u"b"}, {u"c"}})) << toUtf8(text);
    }
    EXPECT_EQ(rows(u"\n\na\n  \n"), (CsvRows{{u""}, {u"a"}, {u"  "}, {u""}}));
    EXPECT_EQ(rows(u"a,,b,"), (CsvRows{{u"a", u"", u"b", u""}}));
    EXPECT_EQ(rows(u"x\uFF1B\U0001F600\uFF1B", 0, u'\uFF1B'),
              (CsvRows{{u"x", u"\U0001F600", u""}}));
}

TEST(CsvParser, QuotesEscapesStrippingAndCommentsWithAndWithoutSanitizing) {
    EXPECT_EQ(rows(u"\"a,b\",\"say \"\"hi\"\"\""), (CsvRows{{u"\"a,b\"", u"\"say \"\"hi\"\"\""}}));
    EXPECT_EQ(rows(u"\"a,b\",\"say \"\"hi\"\"\"", kSanitize), (CsvRows{{u"a,b", u"say \"hi\""}}));
    EXPECT_EQ(rows(u"\"1\r\n2\u2028\",\"\",\"\"\"\"", kSanitize),
              (CsvRows{{u"1\r\n2\u2028", u"", u"\""}}));
    EXPECT_EQ(rows(u"a\\,#b", kSanitize), (CsvRows{{u"a\\", u"#b"}})); // options off
    EXPECT_EQ(rows(u"a\\,b\\\\c\\\nd\\\"e,\"f\\\"\"", kEscapes | kSanitize),
              (CsvRows{{u"a,b\\c\nd\"e", u"f\""}}));
    EXPECT_EQ(rows(u"  x  ,\u00A0y\u3000,  ,  x  ", kStrip), (CsvRows{{u"x", u"y", u"", u"x"}}));
    EXPECT_EQ(rows(u" \" x \" ,y", kStrip | kSanitize), (CsvRows{{u" x ", u"y"}}));
    // The tab is skipped before a field but not trimmed after it; a blank delimiter stays one.
    EXPECT_EQ(rows(u"\ty\t", kStrip | kSanitize), (CsvRows{{u"y\t"}}));
    EXPECT_EQ(rows(u"a\t\tb\t c \t", kStrip, u'\t'), (CsvRows{{u"a", u"", u"b", u"c", u""}}));
    EXPECT_EQ(parseEvents(u"#c1\n\n#c2\r\na,#b\n# x \"y\",z ", kComments),
              "{ #[c1] #[c2] <1 0[a] 1[#b] >1 #[ x \"y\",z ] <2 0[] >2 }");
    // An escaped line break belongs to the comment, backslash and all.
    EXPECT_EQ(parseEvents(u"#a\\\nb\\\\\nc", kComments | kEscapes | kSanitize),
              "{ #[a\\\nb\\\\] <1 0[c] >1 }");
}

TEST(CsvParser, ACharacterWhereAFieldHasEndedIsTheOneError) {
    const std::string unexpected = "!1 Unexpected delimiter. Expected ";
    EXPECT_EQ(parseEvents(u"x,ab\"c,d\ne"),
              "{ <1 0[x] 1[ab] >1 " + unexpected + "',' (0x2C), but got '\"' (0x22)");
    EXPECT_EQ(parseEvents(u" \"x\""), // a blank makes the field unquoted
              "{ <1 0[ ] >1 " + unexpected + "',' (0x2C), but got '\"' (0x22)");
    EXPECT_EQ(parseEvents(u"\"x\" ,y"),
              "{ <1 0[\"x\"] >1 " + unexpected + "',' (0x2C), but got ' ' (0x20)");
    EXPECT_EQ(parseEvents(u"\"a\"\u00E9;b", 0, u';'),
              "{ <1 0[\"a\"] >1 " + unexpected + "';' (0x3B), but got 'é' (0xE9)");
    EXPECT_EQ(parseEvents(u"\"a\"\u20AC\tb", 0, u'\t'),
              "{ <1 0[\"a\"] >1 " + unexpected + "'\t' (0x9), but got '€' (0x20AC)");
    EXPECT_EQ(rows(u"a,b\nc\"d"), std::nullopt); // no rows at all after an error
}

TEST(CsvParser, TheTextEndsSilentlyInsideAnOpenQuoteOrAtANul) {
    EXPECT_EQ(parseEvents(u"\""), "{ <1 >1 }");
    EXPECT_EQ(parseEvents(u"\"a\"\"", kSanitize), "{ <1 >1 }");
    EXPECT_EQ(parseEvents(u"\"a\\", kEscapes), "{ <1 >1 }");
    EXPECT_EQ(parseEvents(u"a\nb,\"c,d\ne"), "{ <1 0[a] >1 <2 0[b] >2 }");
    EXPECT_EQ(parseEvents(u"a,b\0c,d\ne"s), "{ <1 0[a] 1[b] >1 }");
    EXPECT_EQ(parseEvents(u"a,\"b\0\",c"s), "{ <1 0[a] >1 }");
}

TEST(CsvParser, DelimitersThatCollideWithTheGrammarAreRefused) {
    for (const char16_t delimiter :
         {u'\0', u'"', u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        EXPECT_THROW(CsvParser::fromString(u"a", delimiter), std::invalid_argument);
    }
    EXPECT_EQ(CsvParser::delimiterProblem(u'"', 0),
              "the delimiter U+0022 cannot be used: the double quote encloses fields");
    // The backslash and the number sign collide only with their options.
    EXPECT_EQ(CsvParser::delimiterProblem(u'#', kComments),
              "the delimiter U+0023 cannot be used while comments are recognized");
    CsvParser backslash = CsvParser::fromString(u"a", u'\\');
    EXPECT_THROW(backslash.setOptions(kEscapes), std::invalid_argument);
    EXPECT_FALSE(backslash.recognizesBackslashesAsEscapes());
    EXPECT_THROW(CsvParser::fromString(u"a", u'#').setRecognizesComments(true),
                 std::invalid_argument);
    EXPECT_EQ(rows(u"a\\b#c", kComments, u'\\'), (CsvRows{{u"a", u"b#c"}}));
    EXPECT_EQ(rows(u"a\\b#c", kEscapes | kSanitize, u'#'), (CsvRows{{u"ab", u"c"}}));
}

} // namespace
} // namespace lanthor::test
