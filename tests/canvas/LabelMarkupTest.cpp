#include "canvas/LabelMarkup.h"

#include "model/Tree.h"

#include <gtest/gtest.h>

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

TEST(LabelMarkup, StyleMarkersApplyBetweenPairsAndUnpairedOnesStayAsText) {
    EXPECT_EQ(styled(u"[__bold__]a[/_bold__] and [__BOLD__]b[/_Bold__]"), u"*a* and *b*");
    EXPECT_EQ(styled(u"[__bold__][__italic__]x[/_italic__][/_bold__]"), u"*/x/*");
    // A closing marker before the first opening one stays; the pair after it still applies.
    EXPECT_EQ(styled(u"[/_bold__]a[__bold__]b[/_bold__]"), u"[/_bold__]a*b*");
    EXPECT_EQ(styled(u"[/_italic__]a[__italic__]b"), u"[/_italic__]a[__italic__]b");
}

} // namespace
} // namespace lanthor
