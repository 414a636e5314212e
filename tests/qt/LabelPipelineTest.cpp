#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/TreeTable.h"
#include "platform/TextSystem.h"
#include "support/LogCapture.h"
#include "support/QtSession.h"
#include "support/RecordingPainter.h"

#include <gtest/gtest.h>

namespace lanthor {

namespace {

/// What a node view shows after a pass: its text with each styled stretch as [flags:text].
struct Shown {
    std::u16string text;
    double width = 0;
    double height = 0;
};

class LabelPipeline : public ::testing::Test {
protected:
    LabelPipeline() {
        canvas->setTreeTable(table);
        canvas->setMConfiguration(configuration);
    }

    /// Lays out one root holding `text` and returns what its view shows.
    Shown show(std::u16string_view text, std::u16string_view number = u"0") {
        const std::u16string row =
            std::u16string(number) + u",,R,\"" + std::u16string(text) + u"\"\n";
        EXPECT_FALSE(table->loadTable(row));
        return relayOut(number);
    }

    Shown relayOut(std::u16string_view number = u"0") {
        canvas->setUpdated(true);
        test::RecordingPainter painter;
        canvas->drawRect(painter);
        const auto view = nodeViewOf(*table->nodeDictionary()->find(number));
        const AttributedString& shown = view->textStorage();
        std::u16string text;
        std::size_t position = 0;
        for (const TextRun& run : shown.runs()) {
            std::u16string flags;
            flags += run.attributes.font.isBold() ? u"b" : u"";
            flags += run.attributes.font.isItalic() ? u"i" : u"";
            flags += run.attributes.superscript > 0   ? u"^"
                     : run.attributes.superscript < 0 ? u"_"
                                                      : u"";
            const std::u16string part = shown.string().substr(position, run.length);
            text += flags.empty() ? part : u"[" + flags + u":" + part + u"]";
            position += run.length;
            EXPECT_EQ(run.attributes.font.family(), configuration->font().family());
        }
        return {text, view->frame().size.width, view->frame().size.height};
    }

    /// The width a plain text is given: its width in the configured font plus 10.
    double plainWidth(std::u16string_view text) const {
        return textSystem
                   .measure(AttributedString(std::u16string(text),
                                             TextAttributes{configuration->font()}))
                   .width +
               10;
    }

    test::LogCapture log;
    const TextSystem& textSystem = test::qtSession().textSystem();
    std::shared_ptr<TreeTable> table = std::make_shared<TreeTable>();
    std::shared_ptr<LanthorConfiguration> configuration = std::make_shared<LanthorConfiguration>();
    std::shared_ptr<LanthorDocumentView> canvas =
        std::make_shared<LanthorDocumentView>(Rect{}, textSystem);
};

TEST_F(LabelPipeline, StylesBoldAndItalicAfterTheFontIsSet) {
    const Shown plain = show(u"abc");
    EXPECT_EQ(plain.text, u"abc");
    EXPECT_EQ(plain.width, plainWidth(u"abc"));
    EXPECT_EQ(canvas->getStringSize(u"abc").width, plainWidth(u"abc"));

    const Shown bold = show(u"a<b>b</b>c");
    EXPECT_EQ(bold.text, u"a[b:b]c");
    EXPECT_EQ(bold.width, plainWidth(u"abc")); // measured as plain text
    EXPECT_EQ(show(u"<b>a</b> and <b>b</b>").text, u"[b:a] and [b:b]");
    EXPECT_EQ(show(u"<b><i>x</i> all</b>").text, u"[bi:x][b: all]");
    EXPECT_EQ(show(u"<b><b>x</b></b>").text, u"[b:x]");
    EXPECT_EQ(show(u"&lt;b&gt;x&lt;/b&gt;").text, u"[b:x]");
    EXPECT_EQ(show(u"[__BOLD__]x[/_bold__]").text, u"[b:x]");
}

TEST_F(LabelPipeline, ShowsBreaksAndRaisedAndLoweredText) {
    const double line = show(u"x").height;
    for (const std::u16string_view text : {u"x<br>wider", u"x</br>wider"}) {
        const Shown shown = show(text);
        EXPECT_EQ(shown.text, u"x\nwider");
        EXPECT_EQ(shown.height, 2 * line);
        EXPECT_EQ(shown.width, plainWidth(u"wider"));
    }
    EXPECT_EQ(show(u"H<sub>2</sub>O").text, u"H[_:2]O");
    EXPECT_EQ(show(u"x<sup>2</sup>").text, u"x[^:2]");
    EXPECT_GT(show(u"x<sup>2</sup>").height, line);
}

TEST_F(LabelPipeline, ShowsEverythingElseLiterally) {
    EXPECT_EQ(show(u"<B>x</B>").text, u"<B>x</B>");
    EXPECT_EQ(show(u"<b >x").text, u"<b >x");
    EXPECT_EQ(show(u"<span>a</span>").text, u"<span>a</span>");
    EXPECT_EQ(show(u"a < b > c").text, u"a < b > c");
    EXPECT_EQ(show(u"&amp;").text, u"&");

    // Unpaired tags leave their markers, which the measurement does not count.
    const Shown open = show(u"<b>x");
    EXPECT_EQ(open.text, u"[__bold__]x");
    EXPECT_EQ(open.width, plainWidth(u"x"));
    EXPECT_EQ(show(u"x</i>").text, u"x[/_italic__]");
}

TEST_F(LabelPipeline, CarriesNodeNumbersAndKeepsTextWhenNothingIsVisible) {
    configuration->setShowNodeNumber(true);
    EXPECT_EQ(show(u"<i>leaf</i>", u"12").text, u"[12][i:leaf]");
    configuration->setShowNodeNumber(false);

    show(u"before");
    for (const std::u16string_view nothing : {u"", u"<sub></sub>"}) {
        table->nodeDictionary()->find(u"0")->setNodeValue(std::u16string(nothing));
        EXPECT_EQ(relayOut().text, u"before");
    }
}

} // namespace

} // namespace lanthor
