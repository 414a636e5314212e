#include "support/EventRecorder.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

using Events = std::vector<std::string>;

constexpr CsvParserOptions kEscapes = CsvParserOptionsRecognizesBackslashesAsEscapes;
constexpr CsvParserOptions kSanitize = CsvParserOptionsSanitizesFields;
constexpr CsvParserOptions kComments = CsvParserOptionsRecognizesComments;
constexpr CsvParserOptions kStrip = CsvParserOptionsStripsLeadingAndTrailingWhitespace;

/// The field texts of a one-record input, in order.
std::vector<std::string> fieldsOf(std::u16string_view csv, CsvParserOptions options = 0,
                                  char16_t delimiter = u',') {
    std::vector<std::string> fields;
    for (const std::string& event : parseEvents(csv, options, delimiter)) {
        if (event.starts_with("field ")) {
            fields.push_back(event.substr(event.find('[')));
        }
    }
    return fields;
}

TEST(CsvParserGrammar, EveryInputIsAtLeastOneRecord) {
    EXPECT_EQ(parseEvents(u""),
              (Events{"beginDocument", "beginLine 1", "field 0 []", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"a,b\nc"),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "field 1 [b]", "endLine 1",
                      "beginLine 2", "field 0 [c]", "endLine 2", "endDocument"}));
    // A final newline starts one more record, holding one empty field.
    EXPECT_EQ(parseEvents(u"a,b\n"),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "field 1 [b]", "endLine 1",
                      "beginLine 2", "field 0 []", "endLine 2", "endDocument"}));
}

TEST(CsvParserGrammar, DelimitersSeparateFieldsThatMayBeEmpty) {
    EXPECT_EQ(fieldsOf(u"a,,b,"), (std::vector<std::string>{"[a]", "[]", "[b]", "[]"}));
    EXPECT_EQ(fieldsOf(u","), (std::vector<std::string>{"[]", "[]"}));
    EXPECT_EQ(fieldsOf(u"a;b,c", 0, u';'), (std::vector<std::string>{"[a]", "[b,c]"}));
    EXPECT_EQ(fieldsOf(u"x\u00A7\u00A7y", 0, u'\u00A7'),
              (std::vector<std::string>{"[x]", "[]", "[y]"}));
    EXPECT_EQ(fieldsOf(u"x\uFF1By\uFF1B", 0, u'\uFF1B'),
              (std::vector<std::string>{"[x]", "[y]", "[]"}));
    // The halves of a surrogate pair are ordinary field characters.
    EXPECT_EQ(fieldsOf(u"\U0001F600,\u00E9"), (std::vector<std::string>{"[😀]", "[é]"}));
}

TEST(CsvParserGrammar, AnyRunOfLineBreaksEndsOneRecord) {
    const Events abc{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1",
                     "beginLine 2",   "field 0 [b]", "endLine 2",   "beginLine 3",
                     "field 0 [c]",   "endLine 3",   "endDocument"};
    EXPECT_EQ(parseEvents(u"a\nb\nc"), abc);
    EXPECT_EQ(parseEvents(u"a\r\nb\r\nc"), abc);
    EXPECT_EQ(parseEvents(u"a\n\n\r\n\rb\n\n\nc"), abc);
    EXPECT_EQ(parseEvents(u"a\u2028b\u2029c"), abc);
    EXPECT_EQ(parseEvents(u"a\u0085b\u000Bc"), abc);
    EXPECT_EQ(parseEvents(u"a\u000Cb\rc"), abc);
    // Blank lines at the very start make one record with one empty field.
    EXPECT_EQ(parseEvents(u"\n\na"),
              (Events{"beginDocument", "beginLine 1", "field 0 []", "endLine 1", "beginLine 2",
                      "field 0 [a]", "endLine 2", "endDocument"}));
    // A line of blanks is a record with one field of blanks.
    EXPECT_EQ(parseEvents(u"a\n   \nb")[5], "field 0 [   ]");
}

TEST(CsvParserGrammar, QuotedFieldsHoldDelimitersLineBreaksAndDoubledQuotes) {
    EXPECT_EQ(fieldsOf(u"\"a,b\",c"), (std::vector<std::string>{"[\"a,b\"]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"a,b\",c", kSanitize), (std::vector<std::string>{"[a,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"say \"\"hi\"\"\""), (std::vector<std::string>{"[\"say \"\"hi\"\"\"]"}));
    EXPECT_EQ(fieldsOf(u"\"say \"\"hi\"\"\"", kSanitize),
              (std::vector<std::string>{"[say \"hi\"]"}));
    EXPECT_EQ(fieldsOf(u"\"1\r\n2\n\u20283\"", kSanitize),
              (std::vector<std::string>{"[1\r\n2\n\u20283]"}));
    EXPECT_EQ(fieldsOf(u"\"\",\"\"\"\"", kSanitize), (std::vector<std::string>{"[]", "[\"]"}));
    EXPECT_EQ(fieldsOf(u"\"\",\"\"\"\""), (std::vector<std::string>{"[\"\"]", "[\"\"\"\"]"}));
    // Backslashes and number signs are plain text without their options.
    EXPECT_EQ(fieldsOf(u"a\\b,#c", kSanitize), (std::vector<std::string>{"[a\\b]", "[#c]"}));
}

TEST(CsvParserGrammar, ACharacterWhereAFieldHasEndedIsTheOneError) {
    // A double quote inside an unquoted field: what came before is reported, then the error.
    EXPECT_EQ(parseEvents(u"x,ab\"c,d\ne"),
              (Events{"beginDocument", "beginLine 1", "field 0 [x]", "field 1 [ab]", "endLine 1",
                      "error 1 Unexpected delimiter. Expected ',' (0x2C), but got '\"' (0x22)"}));
    // Text right after a closing quote.
    EXPECT_EQ(parseEvents(u"a\n\"abc\"d", kSanitize),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "beginLine 2",
                      "field 0 [abc]", "endLine 2",
                      "error 1 Unexpected delimiter. Expected ',' (0x2C), but got 'd' (0x64)"}));
    // A blank before an opening quote makes an unquoted field of that blank.
    EXPECT_EQ(parseEvents(u" \"x\""),
              (Events{"beginDocument", "beginLine 1", "field 0 [ ]", "endLine 1",
                      "error 1 Unexpected delimiter. Expected ',' (0x2C), but got '\"' (0x22)"}));
    EXPECT_EQ(parseEvents(u"\"x\" ,y").back(),
              "error 1 Unexpected delimiter. Expected ',' (0x2C), but got ' ' (0x20)");
    // Codes are upper-case hexadecimal without leading zeros, for both characters.
    EXPECT_EQ(parseEvents(u"\"a\"\u00E9;b", 0, u';').back(),
              "error 1 Unexpected delimiter. Expected ';' (0x3B), but got 'é' (0xE9)");
    EXPECT_EQ(parseEvents(u"\"a\"\u20AC\tb", 0, u'\t').back(),
              "error 1 Unexpected delimiter. Expected '\t' (0x9), but got '€' (0x20AC)");

    EventRecorder recorder;
    CsvParser parser = CsvParser::fromString(u"\"a\"b");
    parser.setDelegate(&recorder);
    parser.parse();
    ASSERT_TRUE(recorder.error);
    EXPECT_EQ(recorder.error->code, 1);
    EXPECT_FALSE(recorder.error->domain.empty());
    EXPECT_EQ(recorder.error->message,
              u"Unexpected delimiter. Expected ',' (0x2C), but got 'b' (0x62)");
}

TEST(CsvParserGrammar, TheTextEndsSilentlyInsideAnOpenQuoteOrAtANul) {
    EXPECT_EQ(parseEvents(u"a,\"bc\nd,e"),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"\""),
              (Events{"beginDocument", "beginLine 1", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"\"a\"\"", kSanitize),
              (Events{"beginDocument", "beginLine 1", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"a,b\0c,d\ne"s), (Events{"beginDocument", "beginLine 1", "field 0 [a]",
                                                    "field 1 [b]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"a,\"b\0\",c"s),
              (Events{"beginDocument", "beginLine 1", "field 0 [a]", "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"\0a"s),
              (Events{"beginDocument", "beginLine 1", "field 0 []", "endLine 1", "endDocument"}));
}

TEST(CsvParserGrammar, CommentsStartRecordsOnlyWhenRecognized) {
    EXPECT_EQ(parseEvents(u"#c1\n\n#c2\r\na,#b\n# x \"y\",z ", kComments),
              (Events{"beginDocument", "comment [c1]", "comment [c2]", "beginLine 1", "field 0 [a]",
                      "field 1 [#b]", "endLine 1", "comment [ x \"y\",z ]", "beginLine 2",
                      "field 0 []", "endLine 2", "endDocument"}));
    EXPECT_EQ(parseEvents(u"#\n#", kComments),
              (Events{"beginDocument", "comment []", "comment []", "beginLine 1", "field 0 []",
                      "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"#c,d"), (Events{"beginDocument", "beginLine 1", "field 0 [#c]",
                                            "field 1 [d]", "endLine 1", "endDocument"}));
    // An escaped line break belongs to the comment, backslash and all.
    EXPECT_EQ(parseEvents(u"#a\\\nb\\\\\nc", kComments | kEscapes | kSanitize),
              (Events{"beginDocument", "comment [a\\\nb\\\\]", "beginLine 1", "field 0 [c]",
                      "endLine 1", "endDocument"}));
    EXPECT_EQ(parseEvents(u"#a\\\nb", kComments),
              (Events{"beginDocument", "comment [a\\]", "beginLine 1", "field 0 [b]", "endLine 1",
                      "endDocument"}));
}

TEST(CsvParserGrammar, BackslashEscapesTakeTheNextCharacterAsText) {
    EXPECT_EQ(fieldsOf(u"a\\,b,c", kEscapes), (std::vector<std::string>{"[a\\,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"a\\,b,c", kEscapes | kSanitize),
              (std::vector<std::string>{"[a,b]", "[c]"}));
    EXPECT_EQ(fieldsOf(u"\"a\\\"b\"", kEscapes), (std::vector<std::string>{"[\"a\\\"b\"]"}));
    EXPECT_EQ(fieldsOf(u"\"a\\\"b\"", kEscapes | kSanitize), (std::vector<std::string>{"[a\"b]"}));
    EXPECT_EQ(fieldsOf(u"a\\\\b\\\nc\\\"d", kEscapes | kSanitize),
              (std::vector<std::string>{"[a\\b\nc\"d]"}));
    EXPECT_EQ(fieldsOf(u"\"a\\\\\"", kEscapes | kSanitize), (std::vector<std::string>{"[a\\]"}));
    EXPECT_EQ(fieldsOf(u"a\\", kEscapes | kSanitize), (std::vector<std::string>{"[a]"}));
    EXPECT_EQ(fieldsOf(u"a\\,b", kSanitize), (std::vector<std::string>{"[a\\]", "[b]"}));
    // An escape at the very end of an open quoted field leaves the field open.
    EXPECT_EQ(parseEvents(u"\"a\\", kEscapes),
              (Events{"beginDocument", "beginLine 1", "endLine 1", "endDocument"}));
}

TEST(CsvParserGrammar, WhitespaceStrippingTrimsBlanksAroundFields) {
    EXPECT_EQ(fieldsOf(u"  x  ,\u00A0y\u3000,   ", kStrip),
              (std::vector<std::string>{"[x]", "[y]", "[]"}));
    EXPECT_EQ(fieldsOf(u"  x  ,\u00A0y\u3000,   ", kStrip | kSanitize),
              (std::vector<std::string>{"[x]", "[y]", "[]"}));
    // Blanks inside quotes stay in the sanitized text; blanks outside them are skipped.
    EXPECT_EQ(fieldsOf(u" \" x \" ,y", kStrip), (std::vector<std::string>{"[\" x \"]", "[y]"}));
    EXPECT_EQ(fieldsOf(u" \" x \" ,y", kStrip | kSanitize),
              (std::vector<std::string>{"[ x ]", "[y]"}));
    // The tab is skipped before a field but is not in the trimming set, so a trailing tab stays,
    // and a reported raw text keeps its leading tab too.
    EXPECT_EQ(fieldsOf(u"\ty\t", kStrip | kSanitize), (std::vector<std::string>{"[y\t]"}));
    EXPECT_EQ(fieldsOf(u"\ty\t", kStrip), (std::vector<std::string>{"[\ty\t]"}));
    // A delimiter that is itself a blank is never skipped as one.
    EXPECT_EQ(fieldsOf(u"a\t\tb\t c \t", kStrip, u'\t'),
              (std::vector<std::string>{"[a]", "[]", "[b]", "[c]", "[]"}));
    EXPECT_EQ(fieldsOf(u"a  b", kStrip, u' '), (std::vector<std::string>{"[a]", "[]", "[b]"}));
    EXPECT_EQ(fieldsOf(u"  x  ,y"), (std::vector<std::string>{"[  x  ]", "[y]"}));
    // Only a number sign that is the very first character starts a comment.
    EXPECT_EQ(fieldsOf(u"  #c", kStrip | kComments), (std::vector<std::string>{"[#c]"}));
}

TEST(CsvParserGrammar, CancellingStopsEveryLaterEventButTheDocumentEnd) {
    const auto cancelAt = [](std::u16string_view csv, const std::u16string& text) {
        EventRecorder recorder;
        recorder.onField = [&text](CsvParser& parser, const std::u16string& field, std::int64_t) {
            if (field == text) {
                parser.cancelParsing();
            }
        };
        CsvParser parser = CsvParser::fromString(csv);
        parser.setDelegate(&recorder);
        parser.parse();
        return recorder.events;
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

TEST(CsvParserGrammar, OptionsAreReadAfreshAtEveryStep) {
    EventRecorder recorder;
    CsvParser parser = CsvParser::fromString(u"\"a\"\n\"b\"\n#c");
    parser.setDelegate(&recorder);
    recorder.onEndLine = [](CsvParser& p, std::uint64_t record) {
        if (record == 1) {
            p.setSanitizesFields(true);
            p.setRecognizesComments(true);
        }
    };
    parser.parse();
    EXPECT_EQ(recorder.events,
              (Events{"beginDocument", "beginLine 1", "field 0 [\"a\"]", "endLine 1", "beginLine 2",
                      "field 0 [b]", "endLine 2", "comment [c]", "beginLine 3", "field 0 []",
                      "endLine 3", "endDocument"}));
}

TEST(CsvParserGrammar, OptionBitsSetTheFourPropertiesAndNothingElse) {
    CsvParser parser = CsvParser::fromString(u"");
    EXPECT_FALSE(parser.recognizesBackslashesAsEscapes() || parser.sanitizesFields() ||
                 parser.recognizesComments() || parser.stripsLeadingAndTrailingWhitespace());
    parser.setOptions(15 | 16 | (CsvParserOptions{1} << 63));
    EXPECT_TRUE(parser.recognizesBackslashesAsEscapes() && parser.sanitizesFields() &&
                parser.recognizesComments() && parser.stripsLeadingAndTrailingWhitespace());
    parser.setOptions(kSanitize | 0xF0);
    EXPECT_FALSE(parser.recognizesBackslashesAsEscapes());
    EXPECT_TRUE(parser.sanitizesFields());
    EXPECT_FALSE(parser.recognizesComments());
    EXPECT_FALSE(parser.stripsLeadingAndTrailingWhitespace());
}

TEST(CsvParserGrammar, DelimitersThatCollideWithTheGrammarAreRefused) {
    for (const char16_t delimiter :
         {u'\0', u'"', u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        EXPECT_THROW(CsvParser::fromString(u"a", delimiter), std::invalid_argument)
            << static_cast<unsigned>(delimiter);
    }
    try {
        CsvParser::fromString(u"a", u'"');
        ADD_FAILURE() << "the double quote was accepted as delimiter";
    } catch (const std::invalid_argument& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "the delimiter U+0022 cannot be used: the double quote encloses fields");
    }
    // The backslash and the number sign only collide with their options.
    CsvParser backslash = CsvParser::fromString(u"a\\b", u'\\');
    EXPECT_THROW(backslash.setRecognizesBackslashesAsEscapes(true), std::invalid_argument);
    EXPECT_THROW(backslash.setOptions(kEscapes), std::invalid_argument);
    EXPECT_FALSE(backslash.recognizesBackslashesAsEscapes());
    backslash.setRecognizesComments(true);
    CsvParser numberSign = CsvParser::fromString(u"a#b", u'#');
    EXPECT_THROW(numberSign.setRecognizesComments(true), std::invalid_argument);
    numberSign.setRecognizesBackslashesAsEscapes(true);
    EXPECT_EQ(fieldsOf(u"a\\b", 0, u'\\'), (std::vector<std::string>{"[a]", "[b]"}));
    EXPECT_EQ(fieldsOf(u"a#b", kEscapes, u'#'), (std::vector<std::string>{"[a]", "[b]"}));
}

} // namespace
} // namespace lanthor::test
