// The picture itself is looked at where the user makes it: the editor's export
// (tests/editor/DocumentWindowTest.cpp) and `lanthor export` (tests/golden/export).

#include "qtgui/CanvasExport.h"

#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeTable.h"
#include "qtsupport/QtSession.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace lanthor {

namespace {

TEST(CanvasExport, WritesEachFormatByItsExtension) {
    const test::LogCapture log;
    const test::TempDir dir;
    const auto table = std::make_shared<TreeTable>();
    ASSERT_FALSE(table->loadTable(u"0,1,R,Top\n1,,0,<b>x</b>\n"));
    const auto canvas =
        std::make_shared<LanthorDocumentView>(Rect{}, test::qtSession().textSystem());
    canvas->setTreeTable(table);
    canvas->setMConfiguration(std::make_shared<LanthorConfiguration>());
    const std::pair<const char*, std::string> signatures[] = {
        {"t.jpg", "\xFF\xD8\xFF"}, {"t.JPEG", "\xFF\xD8\xFF"}, {"t.png", "\x89PNG"},
        {"t.svg", "<?xml"},        {"t.pdf", "%PDF"},
    };
    for (const auto& [name, signature] : signatures) {
        canvas->setUpdated(true);
        ASSERT_EQ(exportCanvas(*canvas, dir.file(name), *exportFormatForPath(name)), std::nullopt);
        EXPECT_EQ(test::readFile(dir.file(name)).substr(0, signature.size()), signature) << name;
    }
    EXPECT_EQ(exportFormatForPath("a.gif"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("png"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("dir.png/picture"), std::nullopt);
}

} // namespace

} // namespace lanthor
