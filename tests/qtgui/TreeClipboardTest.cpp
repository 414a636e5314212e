// What the clipboard gets is looked at where the user copies and pastes
// (tests/editor/ClipboardTest.cpp); here only what a window cannot show cheaply.

#include "qtgui/TreeClipboard.h"

#include "canvas/LanthorConfiguration.h"
#include "model/TreeTable.h"
#include "qtsupport/QtSession.h"
#include "support/LogCapture.h"

#include <QMimeData>
#include <gtest/gtest.h>

namespace lanthor {

namespace {

TEST(TreeClipboard, APictureTooLargeForPngStillGoesAsSvgAndTheNoticeSaysWhy) {
    const test::LogCapture log;
    // Ten levels 10,000 apart under a label 1,426 wide: each side fits, the whole does not.
    const auto tall = std::make_shared<TreeTable>();
    ASSERT_FALSE(tall->loadTable(u"0,1,R," + std::u16string(100, u'W') +
                                 u"\n1,2,0,a\n2,3,0,a\n3,4,0,a\n4,5,0,a\n5,6,0,a\n6,7,0,a\n"
                                 u"7,8,0,a\n8,9,0,a\n9,10,0,a\n10,,0,a\n"));
    LanthorConfiguration far;
    far.setHeight(10000);
    std::string notice = "left from before";
    const std::unique_ptr<QMimeData> data =
        treeMimeData(tall, far, test::qtSession().textSystem(), notice);
    EXPECT_EQ(notice, "no PNG picture: the drawing is 1437 x 100052 pixels, more than the "
                      "100000000 pixels a picture may have");
    EXPECT_EQ(data->formats(), (QStringList{"text/plain", kTreeFileMimeType, "image/svg+xml"}));
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
}

} // namespace

} // namespace lanthor
