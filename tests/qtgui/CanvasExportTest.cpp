#include "qtgui/CanvasExport.h"

#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeTable.h"
#include "qtsupport/QtSession.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace lanthor {

namespace {

class CanvasExport : public ::testing::Test {
protected:
    /// Loads `treeFile` onto a fresh canvas and exports it to `name` in the temporary folder.
    std::optional<std::string> exportTree(std::u16string_view treeFile, const std::string& name) {
        table = std::make_shared<TreeTable>();
        EXPECT_FALSE(table->loadTable(treeFile));
        canvas = std::make_shared<LanthorDocumentView>(Rect{}, test::qtSession().textSystem());
        canvas->setTreeTable(table);
        canvas->setMConfiguration(std::make_shared<LanthorConfiguration>());
        canvas->setUpdated(true);
        return exportCanvas(*canvas, dir.file(name), *exportFormatForPath(name));
    }

    test::LogCapture log;
    test::TempDir dir;
    std::shared_ptr<TreeTable> table;
    std::shared_ptr<LanthorDocumentView> canvas;
};

int darkPixels(const QImage& image, QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(CanvasExport, CapturesTheWholeDrawingOnWhite) {
    // The wide root is centred over its narrow child and reaches left of the origin.
    ASSERT_EQ(exportTree(u"0,1,R,A very wide root label\n1,,1,x\n", "tree.png"), std::nullopt);
    const QImage image(QString::fromStdString(dir.file("tree.png")));
    ASSERT_FALSE(image.isNull());
    const Rect extent = canvas->drawingBounds();
    ASSERT_LT(extent.minX(), 0);
    EXPECT_EQ(image.width(),
              static_cast<int>(std::ceil(extent.maxX()) - std::floor(extent.minX())));
    EXPECT_EQ(image.height(), static_cast<int>(std::ceil(extent.maxY())));
    const int originX = -static_cast<int>(std::floor(extent.minX()));

    // White where nothing is drawn; the root's text left of the canvas's origin is there; the
    // bold edge runs straight down from the root to its child.
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_GT(darkPixels(image, QRect(0, 30, originX, 20)), 20);
    double edgeX = 0;
    canvas->forEachEdge([&](const LanthorDocumentView::Edge& edge) { edgeX = edge.from.x; });
    EXPECT_EQ(darkPixels(image, QRect(originX + static_cast<int>(edgeX), 60, 1, 20)), 20);
}

TEST_F(CanvasExport, WritesEachFormatByItsExtension) {
    const std::pair<const char*, std::string> signatures[] = {
        {"t.jpg", "\xFF\xD8\xFF"}, {"t.JPEG", "\xFF\xD8\xFF"}, {"t.png", "\x89PNG"},
        {"t.svg", "<?xml"},        {"t.pdf", "%PDF"},
    };
    for (const auto& [name, signature] : signatures) {
        ASSERT_EQ(exportTree(u"0,1,R,Top\n1,,0,<b>x</b>\n", name), std::nullopt) << name;
        EXPECT_EQ(test::readFile(dir.file(name)).substr(0, signature.size()), signature) << name;
    }
    EXPECT_EQ(exportFormatForPath("a.gif"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("png"), std::nullopt);
    EXPECT_EQ(exportFormatForPath("dir.png/picture"), std::nullopt);
}

} // namespace

} // namespace lanthor
