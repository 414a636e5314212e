#include "qtgui/QtHtmlReader.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace lanthor {

namespace {

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

const Font kFont(u"Times", 12);

TEST(HtmlReader, ReadsTheAllowedTagsReferencesAndWhiteSpaceAsHtmlShowsThem) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"plain", u"()plain"},
        {u"x</br>y<sub>2</sub><sup>3</sup>", u"()x\ny(_)2(^)3"},
        {u"a<b>b</b><i>c</i>", u"()a(b)b(i)c"},
        {u"&lt;B&gt; &amp; &quot;", u"()<B> & \""},
        {u"a&b &unknown;", u"()a&b &unknown;"},
        {u"&#65;&nbsp;", u"()A\u00a0"},
        {u"", u""},
        {u"<sub></sub>", u""},
        {u"  a   b  ", u"()a b"},
        {u"a\tb\nc\r\nd", u"()a b c d"},
        {u"a <br> b ", u"()a\nb"},
        {u"x<sub> </sub>", u"()x"},
        {u" ", u""},
    };
    const QtHtmlReader reader(kFont);
    for (const auto& [html, shown] : cases) {
        EXPECT_EQ(described(reader.read(html)), shown);
    }
}

// Most labels skip QTextDocument; random texts must read the same either way. They are made of
// characters that QTextDocument treats specially and of tags, references and text as labels put
// them together, nested well and badly.
TEST(HtmlReader, SkipsTheDocumentOnlyWhereItWouldReadTheSame) {
    std::vector<std::u16string> pieces{u"<b>",    u"</b>",  u"<i>",        u"</i>", u"<sub>",
                                       u"</sub>", u"<sup>", u"</sup>",     u"<br>", u"</br>",
                                       u"&lt;",   u"&gt;",  u"&amp;",      u"&x;",  u"&",
                                       u"  ",     u"word",  u"[__bold__]", u"<u>"};
    for (const char16_t c : std::u16string_view(
             u"ab Z9.;[]_/\t\n\r\u00a0\u00ad\u00e9\u0301\u200b\u2028\u2029\u3000\ufeff\ufffd"
             u"\u65e5\u0085\u0001\u007f&<>#\xD83D\xDE00")) {
        pieces.emplace_back(1, c); // the halves of a surrogate pair, alone or together
    }
    const QtHtmlReader reader(kFont);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 8);
    for (int i = 0; i < 6000; ++i) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) {
            text += pieces[pick(random)];
        }
        ASSERT_EQ(described(reader.read(text)), described(reader.readWithDocument(text)))
            << "for " << i;
    }
}

} // namespace

} // namespace lanthor
