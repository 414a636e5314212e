#include "platform/TextSystem.h"
#include "qtgui/QtFontCache.h"
#include "qtsupport/QtSession.h"
#include "support/GeometryPrinting.h"

#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace lanthor {

namespace {

Size measured(std::u16string_view text, const Font& font) {
    return test::qtSession().textSystem().measure(
        AttributedString(std::u16string(text), TextAttributes{font}));
}

TEST(QtTextSystem, HelveticaIsAMetricClone) {
    // Qt names the foundry after the family: "Nimbus Sans [urw]".
    const QString family =
        QFontInfo(qtFont(Font(u"Helvetica", 15))).family().section(QStringLiteral(" ["), 0, 0);
    const QStringList clones{"Nimbus Sans", "Nimbus Sans L", "TeX Gyre Heros", "Liberation Sans",
                             "Arimo",       "Arial",         "Helvetica"};
    EXPECT_TRUE(clones.contains(family)) << family.toStdString();

    // Widths of the Helvetica metrics at 15 points, unrounded: a 556, b 556, c 500 per 1000 em;
    // bold b 611. tests/golden/layout has more, worked out by hand.
    const Font helvetica(u"Helvetica", 15);
    EXPECT_NEAR(measured(u"abc", helvetica).width, 24.18, 1e-9);
    EXPECT_NEAR(measured(u"abc", helvetica.withTraits(FontTraitBold)).width, 25.845, 1e-9);
    // Characters the clone lacks (Armenian) come from another font, through Qt's shaping.
    EXPECT_GT(measured(u"աբգ", helvetica).width, 15);
    EXPECT_GT(measured(u"abc", Font(u"No Such Family", 15)).width, 10);
}

// tests/golden/layout shows the widest line, line breaks and raised and lowered text in whole
// runs.
TEST(QtTextSystem, MeasuresOneLinePerBreak) {
    const Font helvetica(u"Helvetica", 15);
    const double line = measured(u"x", helvetica).height;
    EXPECT_GT(line, 15);
    EXPECT_EQ(measured(u"", helvetica), (Size{0, 0}));
    EXPECT_EQ(measured(u"x\n", helvetica).height, 2 * line);
    // Plain text measures the same as the attributed string of it.
    for (const std::u16string_view text : {u"", u"abc", u"a\nbcd\n", u"\n\n", u"x\u0561y"}) {
        EXPECT_EQ(test::qtSession().textSystem().measure(text, helvetica),
                  measured(text, helvetica));
    }
}

} // namespace

} // namespace lanthor
