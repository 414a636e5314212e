// The record grammar and the parser's events, compared as whole event sequences.

#include "csv/CsvParser.h"

#include "csv/CsvAggregator.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Events = std::vector<std::string>;
using Fields = std::vector<std::string>;

constexpr CsvParserOptions kEscapes = CsvParserOptionsRecognizesBackslashesAsEscapes;
constexpr CsvParserOptions kSanitize = CsvParserOptionsSanitizesFields;
constexpr CsvParserOptions kComments = CsvParserOptionsRecognizesComments;
constexpr CsvParserOptions kStrip = CsvParserOptionsStripsLeadingAndTrailingWhitespace;

/// Every event as one line: "beginLine 1", "field 0 [a]", "comment [c]", "error 1 <message>"…
class EventRecorder final : public CsvParserDelegate {
public:
    Events events;
    std::function<void(CsvParser&, const std::u16string& field)> onField;
    std::function<void(CsvParser&, std::uint64_t record)> onEndLine;

    void parserDidBeginDocument(CsvParser&) override { events.push_back("beginDocument"); }
    void parserDidEndDocument(CsvParser&) override { events.push_back("endDocument"); }
    void parserDidBeginLine(CsvParser&, std::uint64_t record) override {
        events.push_back("beginLine " + std::to_string(record));
    }
    void parserDidEndLine(CsvParser& parser, std::uint64_t record) override {
        events.push_back("endLine " + std::to_string(record));
        if (onEndLine) {
            onEndLine(parser, record);
        }
    }
    void parserDidReadField(CsvParser& parser, const std::u16string& field,
                            std::int64_t index) override {
        events.push_back("field " + std::to_string(index) + " [" + toUtf8(field) + "]");
        if (onField) {
            onField(parser, field);
        }
    }
    void parserDidReadComment(CsvParser&, const std::u16string& comment) override {
        events.push_back("comment [" + toUtf8(comment) + "]");
    }
    void parserDidFailWithError(CsvParser&, const CsvError& error) override {
        events.push_back("error " + std::to_string(error.code) + " " + toUtf8(error.message));
    }
};

Events parseEvents(std::u16string_view csv, CsvParserOptions options = 0, char16_t delimiter = u',',
                   EventRecorder recorder = {}) {
    CsvParser parser = CsvParser::fromString(csv, delimiter);
    parser.setOptions(options);
    parser.setDelegate(&recorder);
    parser.parse();
    return recorder.events;
}

/// The field texts, in brackets.
Fields fieldsOf(std::u16string_view csv, CsvParserOptions options = 0, char16_t delimiter = u',') {
    Fields fields;
    for (const std::string& event : parseEvents(csv, options, delimiter)) {
        if (event.starts_with("field ")) {
            fields.push_back(event.substr(event.find('[')));
        }
    }
    return fields;
}

TEST(CsvParser, RecordsAreEndedByAnyRunOfLineBreaks) {
    EXPECT_EQ(parseEvents(u""),
              (Events{"beginDocument", "beginLine 1", "field 0 []", "endLine 1", "endDocument"}));
    // A final line break starts one more record, of one empty field.
    EXPECT_EQ(parseEvents(u"a,b\n"),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "field 1 [b]", "endLine 1",
                      "beginLine 2", "field 0 []", "endLine 2", "endDocument"}));
    const Events abc{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1",
                     "beginLine 2",   "field 0 [b]", "endLine 2",   "beginLine 3",
                     "field 0 [c]",   "endLine 3",   "endDocument"};
    for (const std::u16string_view text : {u"a\nb\nc", u"a\r\nb\r\nc", u"a\n\n\r\n\rb\n\n\nc",
                                           u"a\u2028b\u2029c", u"a\u0085b\u000Bc", u"a\fb\rc"}) {
        EXPECT_EQ(parseEvents(text), abc) << toUtf8(text);
    }
    EXPECT_EQ(parseEvents(u"\n\na")[2], "field 0 []"); // leading breaks: one empty record
    EXPECT_EQ(parseEvents(u"a\n   \nb")[5], "field 0 [   ]");
    EXPECT_EQ(fieldsOf(u"a,,b,"), (Fields{"[a]", "[]", "[b]", "[]"}));
    EXPECT_EQ(fieldsOf(u"a;b,c", 0, u';'), (Fields{"[a]", "[b,c]"}));
    EXPECT_EQ(fieldsOf(u"x\uFF1By\uFF1B", 0, u'\uFF1B'), (Fields{"[x]", "[y]", "[]"}));
    EXPECT_EQ(fieldsOf(u"\U0001F600,\u00E9"), (Fields{"[😀]", "[é]"}));
}

TEST(CsvParser, QuotesEscapesAndCommentsWithAndWithoutSanitizing) {
    EXPECT_EQ(fieldsOf(u"\"a,b\",c"), (Fields{"[\"a,b\"]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"a,b\",c", kSanitize), (Fields{"[a,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"say \"\"hi\"\"\"", kSanitize), (Fields{"[say \"hi\"]"}));
    EXPECT_EQ(fieldsOf(u"\"1\r\n2\n\u20283\"", kSanitize), (Fields{"[1\r\n2\n\u20283]"}));
    EXPECT_EQ(fieldsOf(u"\"\",\"\"\"\"", kSanitize), (Fields{"[]", "[\"]"}));
    EXPECT_EQ(fieldsOf(u"\"\",\"\"\"\""), (Fields{"[\"\"]", "[\"\"\"\"]"}));
    EXPECT_EQ(fieldsOf(u"a\\b,#c", kSanitize), (Fields{"[a\\b]", "[#c]"})); // options off
    EXPECT_EQ(fieldsOf(u"a\\,b,c", kEscapes), (Fields{"[a\\,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"a\\,b,c", kEscapes | kSanitize), (Fields{"[a,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"a\\\"b\"", kEscapes | kSanitize), (Fields{"[a\"b]"}));
    EXPECT_EQ(fieldsOf(u"a\\\\b\\\nc\\\"d", kEscapes | kSanitize), (Fields{"[a\\b\nc\"d]"}));
    EXPECT_EQ(fieldsOf(u"\"a\\\\\"", kEscapes | kSanitize), (Fields{"[a\\]"}));
    EXPECT_EQ(fieldsOf(u"a\\", kEscapes | kSanitize), (Fields{"[a]"}));
    EXPECT_EQ(parseEvents(u"#c1\n\n#c2\r\na,#b\n# x \"y\",z ", kComments),
              (Events{"beginDocument", "comment [c1]", "comment [c2]", "beginLine 1", "field 0 [a]",
                      "field 1 [#b]", "endLine 1", "comment [ x \"y\",z ]", "beginLine 2",
                      "field 0 []", "endLine 2", "endDocument"}));
    EXPECT_EQ(parseEvents(u"#\n#", kComments)[2], "comment []");
    // An escaped line break belongs to the comment, backslash and all.
    EXPECT_EQ(parseEvents(u"#a\\\nb\\\\\nc", kComments | kEscapes)[1], "comment [a\\\nb\\\\]");
    EXPECT_EQ(parseEvents(u"#a\\\nb", kComments)[1], "comment [a\\]");
}

TEST(CsvParser, StripsBlanksAroundFieldsButNeverTheDelimiter) {
    EXPECT_EQ(fieldsOf(u"  x  ,\u00A0y\u3000,   ", kStrip), (Fields{"[x]", "[y]", "[]"}));
    EXPECT_EQ(fieldsOf(u" \" x \" ,y", kStrip), (Fields{"[\" x \"]", "[y]"}));
    EXPECT_EQ(fieldsOf(u" \" x \" ,y", kStrip | kSanitize), (Fields{"[ x ]", "[y]"}));
    // The tab is skipped before a field but is not trimmed after it.
    EXPECT_EQ(fieldsOf(u"\ty\t", kStrip | kSanitize), (Fields{"[y\t]"}));
    EXPECT_EQ(fieldsOf(u"\ty\t", kStrip), (Fields{"[\ty\t]"}));
    EXPECT_EQ(fieldsOf(u"a\t\tb\t c \t", kStrip, u'\t'), (Fields{"[a]", "[]", "[b]", "[c]", "[]"}));
    EXPECT_EQ(fieldsOf(u"a  b", kStrip, u' '), (Fields{"[a]", "[]", "[b]"}));
    EXPECT_EQ(fieldsOf(u"  x  ,y"), (Fields{"[  x  ]", "[y]"}));
    EXPECT_EQ(fieldsOf(u"  #c", kStrip | kComments), (Fields{"[#c]"}));
}

TEST(CsvParser, ACharacterWhereAFieldHasEndedIsTheOneError) {
    const std::string quote =
        "error 1 Unexpected delimiter. Expected ',' (0x2C), but got '\"' (0x22)";
    EXPECT_EQ(parseEvents(u"x,ab\"c,d\ne"), (Events{"beginDocument", "beginLine 1", "field 0 [x]",
                                                    "field 1 [ab]", "endLine 1", quote}));
    EXPECT_EQ(parseEvents(u"a\n\"abc\"d", kSanitize),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "beginLine 2",
                      "field 0 [abc]", "endLine 2",
                      "error 1 Unexpected delimiter. Expected ',' (0x2C), but got 'd' (0x64)"}));
    EXPECT_EQ(parseEvents(u" \"x\"").back(), quote); // a blank makes the field unquoted
    EXPECT_EQ(parseEvents(u"\"x\" ,y").back(),
              "error 1 Unexpected delimiter. Expected ',' (0x2C), but got ' ' (0x20)");
    EXPECT_EQ(parseEvents(u"\"a\"\u00E9;b", 0, u';').back(),
              "error 1 Unexpected delimiter. Expected ';' (0x3B), but got 'é' (0xE9)");
    EXPECT_EQ(parseEvents(u"\"a\"\u20AC\tb", 0, u'\t').back(),
              "error 1 Unexpected delimiter. Expected '\t' (0x9), but got '€' (0x20AC)");
}

TEST(CsvParser, TheTextEndsSilentlyInsideAnOpenQuoteOrAtANul) {
    const Events opened{"beginDocument", "beginLine 1", "endLine 1", "endDocument"};
    EXPECT_EQ(parseEvents(u"\""), opened);
    EXPECT_EQ(parseEvents(u"\"a\"\"", kSanitize), opened);
    EXPECT_EQ(parseEvents(u"\"a\\", kEscapes), opened);
    EXPECT_EQ(parseEvents(u"a,\"bc\nd,e"),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"a,b\0c,d\ne"s), (Events{"beginDocument", "beginLine 1", "field 0 [a]",
                                                    "field 1 [b]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"a,\"b\0\",c"s),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"\0a"s)[2], "field 0 []");

    // The parser tells its readers how the text ended early; an error or a cancel is no early end.
    const TempDir dir;
    const auto earlyEnd = [&dir](const std::string& bytes, bool cancel = false) {
        CsvParser parser = CsvParser::fromFile(dir.write("early.csv", bytes));
        EventRecorder recorder;
        if (cancel) {
            recorder.onField = [](CsvParser& p, const std::u16string&) { p.cancelParsing(); };
        }
        parser.setDelegate(&recorder);
        parser.parse();
        return parser.earlyEnd() ? parser.earlyEnd()->message() : "";
    };
    EXPECT_EQ(earlyEnd("a\nb,\"cd\ne"), "a quoted field in record 2 is never closed");
    EXPECT_EQ(earlyEnd("a,b\n\0c,d"s), "a U+0000 character ends the text in record 2");
    EXPECT_EQ(earlyEnd("a,\"b\"\n"), "");
    EXPECT_EQ(earlyEnd("\"a\"b\n\xFF"), "");
    EXPECT_EQ(earlyEnd("a,\"b", true), "");
}

TEST(CsvParser, CancellingStopsEveryLaterEventButTheDocumentEnd) {
    const auto cancelAt = [](std::u16string_view csv, const std::u16string& text) {
        EventRecorder recorder;
        recorder.onField = [text](CsvParser& parser, const std::u16string& field) {
            if (field == text) {
                parser.cancelParsing();
            }
        };
        return parseEvents(csv, 0, u',', recorder);
    };
    const Events stopped{"beginDocument", "beginLine 1", "field 0 [a]", "field 1 [b]",
                         "endDocument"};
    EXPECT_EQ(cancelAt(u"a,b,c\nd", u"b"), stopped);
    EXPECT_EQ(cancelAt(u"a,b\nc,d", u"b"), stopped);
    EXPECT_EQ(cancelAt(u"a,b", u"b"), stopped);
    // An error found after the cancel is not reported, and the document then has no end.
    EXPECT_EQ(cancelAt(u"\"a\"x,b", u"\"a\""),
              (Events{"beginDocument", "beginLine 1", "field 0 [\"a\"]"}));
    EventRecorder before;
    CsvParser early = CsvParser::fromString(u"a,b\nc");
    early.setDelegate(&before);
    early.cancelParsing();
    early.parse();
    EXPECT_EQ(before.events, (Events{"beginDocument", "endDocument"}));
}

TEST(CsvParser, OptionsAreTheLowFourBitsAndAreReadAfreshAtEveryStep) {
    CsvParser parser = CsvParser::fromString(u"");
    parser.setOptions(15 | 16 | (CsvParserOptions{1} << 63));
    EXPECT_TRUE(parser.recognizesBackslashesAsEscapes() && parser.sanitizesFields() &&
                parser.recognizesComments() && parser.stripsLeadingAndTrailingWhitespace());
    parser.setOptions(kSanitize | 0xF0);
    EXPECT_FALSE(parser.recognizesBackslashesAsEscapes() || parser.recognizesComments() ||
                 parser.stripsLeadingAndTrailingWhitespace());

    EventRecorder recorder;
    recorder.onEndLine = [](CsvParser& p, std::uint64_t) {
        p.setSanitizesFields(true);
        p.setRecognizesComments(true);
    };
    EXPECT_EQ(parseEvents(u"\"a\"\n\"b\"\n#c", 0, u',', recorder),
              (Events{"beginDocument", "beginLine 1", "field 0 [\"a\"]", "endLine 1", "beginLine 2",
                      "field 0 [b]", "endLine 2", "comment [c]", "beginLine 3", "field 0 []",
                      "endLine 3", "endDocument"}));
}

TEST(CsvParser, DelimitersThatCollideWithTheGrammarAreRefused) {
    for (const char16_t delimiter :
         {u'\0', u'"', u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        EXPECT_THROW(CsvParser::fromString(u"a", delimiter), std::invalid_argument);
    }
    try {
        CsvParser::fromString(u"a", u'"');
    } catch (const std::invalid_argument& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "the delimiter U+0022 cannot be used: the double quote encloses fields");
    }
    // The backslash and the number sign collide only with their options.
    CsvParser backslash = CsvParser::fromString(u"a\\b", u'\\');
    EXPECT_THROW(backslash.setOptions(kEscapes), std::invalid_argument);
    EXPECT_FALSE(backslash.recognizesBackslashesAsEscapes());
    CsvParser numberSign = CsvParser::fromString(u"a#b", u'#');
    EXPECT_THROW(numberSign.setRecognizesComments(true), std::invalid_argument);
    EXPECT_EQ(fieldsOf(u"a\\b", kComments, u'\\'), (Fields{"[a]", "[b]"}));
    EXPECT_EQ(fieldsOf(u"a#b", kEscapes, u'#'), (Fields{"[a]", "[b]"}));
}

TEST(CsvParser, ReadsTheNextBlockOnlyWhenAThirdOfTheTextIsLeft) {
    // Detection reads the first 512 bytes and the first step a second block. From then on a
    // block is read when at most a third of the decoded text (at least 10 code units) lies
    // ahead of the next character, counted after each reported field has been dropped.
    const TempDir dir;
    const auto bytesReadBeforeError = [&dir](const std::string& content) {
        CsvParser parser = CsvParser::fromFile(dir.write("error.csv", content));
        CsvAggregator rows;
        parser.setDelegate(&rows);
        parser.parse();
        EXPECT_EQ(rows.lines(), std::nullopt); // the parse failed
        return parser.totalBytesRead();
    };
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(2000, 'x')), 1024u);
    EXPECT_EQ(bytesReadBeforeError("ab\"c\n" + std::string(595, 'x')), 600u);
    // With 1024 code units decoded the third block comes when the field reaches index 683.
    EXPECT_EQ(bytesReadBeforeError(std::string(682, 'x') + "\"" + std::string(3000, 'y')), 1024u);
    EXPECT_EQ(bytesReadBeforeError(std::string(700, 'x') + "\"" + std::string(3000, 'y')), 1536u);
    // Short fields leave only the floor of 10: after the field at 1008..1010 is dropped, 13
    // units remain and the read comes when the next character is 3 ahead, at 1014.
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

} // namespace
} // namespace lanthor::test
