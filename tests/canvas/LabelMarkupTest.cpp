#include "canvas/LabelMarkup.h"

#include "base/Utf.h"
#include "model/Tree.h"
#include "support/Bytes.h"

#include <algorithm>
#include <cwctype>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

TEST(LabelMarkup, EscapesAllButTheTenTagsAndMarksBoldAndItalic) {
    EXPECT_EQ(sanitizeLabel(u"a<b>b</b><i>c</i><br></br><sub></sub><sup></sup>"),
              u"a<b>b</b><i>c</i><br></br><sub></sub><sup></sup>");
    EXPECT_EQ(sanitizeLabel(u"<B>x</B><b ><span>a < b"),
              u"&lt;B&gt;x&lt;/B&gt;&lt;b &gt;&lt;span&gt;a &lt; b");
    // The ampersand passes, so tags spelled with references become tags.
    EXPECT_EQ(sanitizeLabel(u"a&amp;b&lt;b&gt;x&lt;/b&gt;&lt;u&gt;"), u"a&amp;b<b>x</b>&lt;u&gt;");
    EXPECT_EQ(withStyleMarkers(u"<b>x</b><i>y</i><br>"),
              u"[__bold__]x[/_bold__][__italic__]y[/_italic__]<br>");
    EXPECT_EQ(nodeLabel(Tree(u"12", u"", u"0", u"<i>leaf</i>"), true), u"[12]<i>leaf</i>");
}

/// The text with its markers applied, written back with bold as *…* and italic as /…/.
std::u16string styled(std::u16string_view text) {
    AttributedString string{std::u16string(text), TextAttributes{Font(u"F", 10)}};
    applyStyleMarkers(string, kBoldOpeningMarker, kBoldClosingMarker, FontTraitBold);
    applyStyleMarkers(string, kItalicOpeningMarker, kItalicClosingMarker, FontTraitItalic);
    std::u16string shown;
    std::size_t position = 0;
    for (const TextRun& run : string.runs()) {
        const std::u16string_view bold = run.attributes.font.isBold() ? u"*" : u"";
        const std::u16string_view italic = run.attributes.font.isItalic() ? u"/" : u"";
        shown.append(bold).append(italic).append(string.string().substr(position, run.length));
        shown.append(italic).append(bold);
        position += run.length;
    }
    return shown;
}

TEST(LabelMarkup, BalancingShowsUnpairedTagsAsTypedAndFlattensNesting) {
    EXPECT_EQ(balanceMarkup(u"<i>oops"), u"&lt;i&gt;oops");
    EXPECT_EQ(balanceMarkup(u"a</b>b<b>c"), u"a&lt;/b&gt;b&lt;b&gt;c");
    EXPECT_EQ(balanceMarkup(u"<b><b>x</b>y"), u"&lt;b&gt;<b>x</b>y");
    EXPECT_EQ(balanceMarkup(u"<b>a</b><b>b</b>c<br>"), u"<b>ab</b>c<br>");
    EXPECT_EQ(balanceMarkup(u"<b><i>x</b>y</i>"), u"<b><i>x</i></b><i>y</i>");
    EXPECT_EQ(balanceMarkup(u"<sub>a<sup>b</sub>c</sup>d"), u"<sub>a</sub><sup>bc</sup>d");
    EXPECT_EQ(balanceMarkup(u"H<sub>2</sub>O &amp; <sub></sub>"), u"H<sub>2</sub>O &amp; ");
    EXPECT_EQ(
        balanceMarkup(test::repeated(u"<sub>", 50000) + u"x" + test::repeated(u"</sub>", 50000)),
        u"<sub>x</sub>");
}

/// The markers applied as they were first described: the first opening marker with the first
/// closing marker after it, both removed, again and again.
std::u16string styledByReference(std::u16string text, std::u16string_view opening,
                                 std::u16string_view closing, char16_t mark) {
    const auto find = [&text](std::u16string_view pattern, std::size_t from) {
        for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
            if (std::equal(
                    pattern.begin(), pattern.end(), text.begin() + i,
                    [](char16_t a, char16_t b) { return std::towlower(a) == std::towlower(b); })) {
                return i;
            }
        }
        return std::u16string::npos;
    };
    std::vector<bool> styled(text.size(), false);
    for (;;) {
        const std::size_t open = find(opening, 0);
        const std::size_t close =
            open == std::u16string::npos ? open : find(closing, open + opening.size());
        if (close == std::u16string::npos) {
            break;
        }
        std::fill(styled.begin() + open, styled.begin() + close + closing.size(), true);
        text.erase(close, closing.size());
        styled.erase(styled.begin() + close, styled.begin() + close + closing.size());
        text.erase(open, opening.size());
        styled.erase(styled.begin() + open, styled.begin() + open + opening.size());
    }
    std::u16string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        shown += styled[i] ? std::u16string{mark, text[i]} : std::u16string{text[i]};
    }
    return shown;
}

TEST(LabelMarkup, StyleMarkersAgreeWithTheirFirstDescriptionOnRandomText) {
    // (A marker that only forms once the markers inside it are gone stays text.)
    const std::u16string_view pieces[] = {
        kBoldOpeningMarker, kBoldClosingMarker, u"[__BOLD__]", u"[/_bOLD__]", u"a", u"bc"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (int i = random() % 10; i > 0; --i) {
            text += pieces[random() % std::size(pieces)];
        }
        AttributedString string{text, TextAttributes{Font(u"F", 10)}};
        applyStyleMarkers(string, kBoldOpeningMarker, kBoldClosingMarker, FontTraitBold);
        std::u16string shown;
        std::size_t position = 0;
        for (const TextRun& run : string.runs()) {
            for (std::size_t i = position; i < position + run.length; ++i) {
                if (run.attributes.font.isBold()) {
                    shown += u'*';
                }
                shown += string.string()[i];
            }
            position += run.length;
        }
        ASSERT_EQ(toUtf8(shown),
                  toUtf8(styledByReference(text, kBoldOpeningMarker, kBoldClosingMarker, u'*')))
            << toUtf8(text);
    }
}

TEST(LabelMarkup, StyleMarkersApplyBetweenPairsAndUnpairedOnesStayAsText) {
    EXPECT_EQ(styled(u"[__bold__]a[/_bold__] and [__BOLD__]b[/_Bold__]"), u"*a* and *b*");
    EXPECT_EQ(styled(u"[__bold__][__italic__]x[/_italic__][/_bold__]"), u"*/x/*");
    // A closing marker before the first opening one stays; the pair after it still applies.
    EXPECT_EQ(styled(u"[/_bold__]a[__bold__]b[/_bold__]"), u"[/_bold__]a*b*");
    EXPECT_EQ(styled(u"[/_italic__]a[__italic__]b"), u"[/_italic__]a[__italic__]b");
}

} // namespace
} // namespace lanthor
