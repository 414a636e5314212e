#include "platform/AttributedString.h"

#include <gtest/gtest.h>

namespace lanthor {

namespace {

const Font kPlain(u"Helvetica", 15);

std::vector<std::size_t> runLengths(const AttributedString& text) {
    std::vector<std::size_t> lengths;
    for (const TextRun& run : text.runs()) {
        lengths.push_back(run.length);
    }
    return lengths;
}

TEST(AttributedString, KeepsRunsMinimal) {
    AttributedString text;
    text.append(u"ab", {kPlain});
    text.append(u"", {kPlain, 1});
    text.append(u"cd", {kPlain});
    text.append(u"2", {kPlain, 1});
    EXPECT_EQ(text.string(), u"abcd2");
    EXPECT_EQ(runLengths(text), (std::vector<std::size_t>{4, 1}));

    text.applyFontTraits(FontTraitBold, {1, 2});
    EXPECT_EQ(runLengths(text), (std::vector<std::size_t>{1, 2, 1, 1}));
    EXPECT_TRUE(text.runs()[1].attributes.font.isBold());
    text.applyFontTraits(FontTraitBold, {0, 4});
    EXPECT_EQ(runLengths(text), (std::vector<std::size_t>{4, 1}));

    // A font set over the whole text keeps the raised run raised.
    text.setFont(Font(u"Times", 9));
    EXPECT_EQ(text.runs()[0].attributes.font, Font(u"Times", 9));
    EXPECT_EQ(text.runs()[1].attributes.superscript, 1);

    text.deleteCharacters({3, 2});
    EXPECT_EQ(text.string(), u"abc");
    EXPECT_EQ(runLengths(text), std::vector<std::size_t>{3});
    text.deleteCharacters({2, 10}); // clamped to the text
    EXPECT_EQ(text, AttributedString(u"ab", {Font(u"Times", 9)}));
}

} // namespace

} // namespace lanthor
