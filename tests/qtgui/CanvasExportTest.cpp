// The picture itself is looked at where the user makes it: the editor's export
// (tests/editor/DocumentWindowTest.cpp) and `lanthor export` (tests/golden/export).

#include "qtgui/CanvasExport.h"

#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeTable.h"
#include "qtsupport/QtSession.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QXmlStreamReader>
#include <filesystem>
#include <gtest/gtest.h>

namespace lanthor {

namespace {

/// A canvas on the tree of `treeFile`, measured with the real text system.
std::shared_ptr<LanthorDocumentView> canvasFor(std::u16string_view treeFile) {
    const auto table = std::make_shared<TreeTable>();
    EXPECT_FALSE(table->loadTable(treeFile));
    const auto canvas =
        std::make_shared<LanthorDocumentView>(Rect{}, test::qtSession().textSystem());
    canvas->setTreeTable(table);
    canvas->setMConfiguration(std::make_shared<LanthorConfiguration>());
    canvas->setUpdated(true);
    // The canvas holds the table weakly; the tree lives as long as the canvas does.
    static std::vector<std::shared_ptr<TreeTable>> tables;
    tables.push_back(table);
    return canvas;
}

TEST(CanvasExport, WritesEachFormatByItsExtension) {
    const test::LogCapture log;
    const test::TempDir dir;
    const auto canvas = canvasFor(u"0,1,R,Top\n1,,0,\"<b>x</b> &amp; \"\"y\"\"\"\n");
    const std::pair<const char*, std::string> signatures[] = {
        {"t.jpg", "\xFF\xD8\xFF"}, {"t.JPEG", "\xFF\xD8\xFF"}, {"t.png", "\x89PNG"},
        {"t.svg", "<?xml"},        {"t.pdf", "%PDF"},
    };
    for (const auto& [name, signature] : signatures) {
        canvas->setUpdated(true);
        ASSERT_EQ(exportCanvas(*canvas, dir.file(name), *exportFormatForPath(name)), std::nullopt);
        EXPECT_EQ(test::readFile(dir.file(name)).substr(0, signature.size()), signature) << name;
    }
    // The SVG is written as drawn: well-formed, the text escaped and positioned in points.
    QXmlStreamReader svg(QByteArray::fromStdString(test::readFile(dir.file("t.svg"))));
    QStringList texts;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text") {
            texts << svg.readElementText();
        }
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(texts, (QStringList{"Top", "x", " & \"y\""}));
    EXPECT_EQ(exportFormatForPath("a.gif"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("png"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("dir.png/picture"), std::nullopt);
}

TEST(CanvasExport, ChecksTheSizeBeforePaintingAndFitsAPdfToAPage) {
    const test::LogCapture log;
    const test::TempDir dir;
    const auto wide = canvasFor(u"0,,R," + std::u16string(8000, u'W') + u"\n");
    std::string notice = "left from before";
    EXPECT_EQ(exportCanvas(*wide, dir.file("w.jpg"), ExportFormat::Jpeg, &notice),
              "the drawing is 113301 x 52 pixels, larger than JPEG allows (65500 on a side): "
              "export it as SVG or PDF instead");
    EXPECT_EQ(notice, "");
    // Ten levels 10,000 apart under a label 1,426 wide: each side fits, the whole does not.
    const auto tall = canvasFor(u"0,1,R," + std::u16string(100, u'W') +
                                u"\n1,2,0,a\n2,3,0,a\n3,4,0,a\n4,5,0,a\n5,6,0,a\n6,7,0,a\n7,8,0,a\n"
                                u"8,9,0,a\n9,10,0,a\n10,,0,a\n");
    LanthorConfiguration far;
    far.setHeight(10000);
    tall->setMConfiguration(std::make_shared<LanthorConfiguration>(far));
    EXPECT_EQ(exportCanvas(*tall, dir.file("t.png"), ExportFormat::Png),
              "the drawing is 1437 x 100052 pixels, more than the 100000000 pixels a picture may "
              "have: export it as SVG or PDF instead");
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path()),
              std::filesystem::directory_iterator());
    wide->setUpdated(true);
    ASSERT_EQ(exportCanvas(*wide, dir.file("w.pdf"), ExportFormat::Pdf, &notice), std::nullopt);
    EXPECT_EQ(notice, "the drawing is 113301 x 52 points, larger than a PDF page may be (14400 on "
                      "a side): it is scaled to fit");
    const std::string pdf = test::readFile(dir.file("w.pdf"));
    EXPECT_NE(pdf.find("/MediaBox [0 0 14400.000000 7.000000]"), std::string::npos);
    EXPECT_EQ(exportCanvas(*canvasFor(u"0,,0,not a root\n"), dir.file("n.png"), ExportFormat::Png),
              "nothing to draw");
}

} // namespace

} // namespace lanthor
