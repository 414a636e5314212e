#include "qtgui/QtHtmlReader.h"
#include "support/QtSession.h"

#include <gtest/gtest.h>
#include <random>

namespace lanthor {

namespace {

const Font kFont(u"Times", 12);

/// The text with every run written as (flags)text, the flags b, i, ^ raised, _ lowered.
std::u16string described(const AttributedString& text) {
    std::u16string out;
    std::size_t position = 0;
    for (const TextRun& run : text.runs()) {
        out += u'(';
        out += run.attributes.font.isBold() ? u"b" : u"";
        out += run.attributes.font.isItalic() ? u"i" : u"";
        out += run.attributes.superscript > 0 ? u"^" : run.attributes.superscript < 0 ? u"_" : u"";
        out += u')';
        out += text.string().substr(position, run.length);
        position += run.length;
    }
    return out;
}

std::u16string read(std::u16string_view html) {
    test::qtSession();
    const QtHtmlReader reader(kFont);
    return described(reader.read(html));
}

TEST(HtmlReader, ReadsTheAllowedTagsAndReferences) {
    EXPECT_EQ(read(u"plain"), u"()plain");
    EXPECT_EQ(read(u"x<br>y"), u"()x\ny");
    EXPECT_EQ(read(u"x</br>y"), u"()x\ny");
    EXPECT_EQ(read(u"H<sub>2</sub>O"), u"()H(_)2()O");
    EXPECT_EQ(read(u"x<sup>2</sup>"), u"()x(^)2");
    EXPECT_EQ(read(u"a<b>b</b><i>c</i>"), u"()a(b)b(i)c");
    EXPECT_EQ(read(u"&lt;B&gt; &amp; &quot;"), u"()<B> & \"");
    EXPECT_EQ(read(u"a&b &unknown;"), u"()a&b &unknown;");
    EXPECT_EQ(read(u"&#65;&nbsp;"), u"()A\u00a0");
    EXPECT_EQ(read(u""), u"");
    EXPECT_EQ(read(u"<sub></sub>"), u"");
}

TEST(HtmlReader, TreatsWhiteSpaceAsHtmlShowsIt) {
    EXPECT_EQ(read(u"  a   b  "), u"()a b");
    EXPECT_EQ(read(u"a\tb\nc\r\nd"), u"()a b c d");
    EXPECT_EQ(read(u"a <br> b "), u"()a\nb");
    EXPECT_EQ(read(u"x<sub> </sub>"), u"()x");
    EXPECT_EQ(read(u" "), u"");
}

TEST(HtmlReader, SkipsTheDocumentOnlyWhereItWouldReadTheSame) {
    test::qtSession();
    const QtHtmlReader reader(kFont);
    // Characters that QTextDocument treats specially, and ordinary ones.
    std::u16string alphabet =
        u"ab Z9.;[]_/\t\n\r\u00a0\u00ad\u00e9\u0301\u200b\u2028\u2029\u3000\ufeff\ufffd\u65e5"
        u"\u0085\u0001\u007f&<>#";
    alphabet += u'\xD83D'; // the halves of a surrogate pair, alone or together
    alphabet += u'\xDE00';
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 8);
    for (int i = 0; i < 3000; ++i) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        const AttributedString fast = reader.read(text);
        const AttributedString full = reader.readWithDocument(text);
        ASSERT_EQ(described(fast), described(full)) << "for " << i;
    }
}

TEST(HtmlReader, SkipsTheDocumentForSimpleMarkupOnlyWhereItWouldReadTheSame) {
    test::qtSession();
    const QtHtmlReader reader(kFont);
    // Tags, references and text as labels put them together, nested well and badly.
    const std::u16string_view tokens[] = {u"<b>",    u"</b>",       u"<i>",    u"</i>", u"<sub>",
                                          u"</sub>", u"<sup>",      u"</sup>", u"<br>", u"</br>",
                                          u"&lt;",   u"&gt;",       u"&amp;",  u"&x;",  u"&",
                                          u"<",      u">",          u" ",      u"  ",   u"word",
                                          u"x",      u"[__bold__]", u"\u00e9", u"\t",   u"<u>"};
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(tokens) - 1);
    std::uniform_int_distribution<int> length(0, 7);
    for (int i = 0; i < 4000; ++i) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) {
            text += tokens[pick(random)];
        }
        ASSERT_EQ(described(reader.read(text)), described(reader.readWithDocument(text)))
            << "for " << i;
    }
}

} // namespace

} // namespace lanthor
