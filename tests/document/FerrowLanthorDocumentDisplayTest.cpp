#include "DocumentFixture.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>

namespace lanthor::test {
namespace {

using DisplayCommands = DocumentFixture;

TEST_F(DisplayCommands, HeightTakesTheLeadingIntegerAndTheFontAlwaysLogs) {
    answers = {u"60", std::nullopt, u"  -7 points", u"tall"};
    for (int i = 0; i < 4; ++i) {
        document.changeHeight(); // an edit only when the answer differs
    }
    EXPECT_EQ(canvas->mConfiguration()->height(), 0); // no number: 0, kept like any other
    EXPECT_EQ(asked, (Lines{"Change Tree Height | 60", "Change Tree Height | 60",
                            "Change Tree Height | 60", "Change Tree Height | -7"}));
    EXPECT_EQ(editNotices, 2);
    document.changeFont([](const Font& font) { return font; });
    document.changeFont([](const Font& font) { return Font(u"Courier", font.pointSize() + 3); });
    EXPECT_EQ(canvas->mConfiguration()->font(), Font(u"Courier", 18.0));
    EXPECT_EQ(log.lines(), (Lines{"Font Chnaged", "Font Chnaged"}));
    EXPECT_EQ(redraws, 4);
    EXPECT_EQ(editNotices, 3);
}

TEST_F(DisplayCommands, ExportWritesToTheDesktopUnderTheDisplayNameOrSaysWhyNot) {
    const TempDir home;
    const std::string previousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    load(u"0,,R,Top\n");
    document.setDisplayName(u"Syntax tré");
    Lines written;
    const auto writer = [&written](LanthorDocumentView& drawn, const std::string& path) {
        written.push_back(path);
        std::ofstream(path) << drawn.subviewCount();
        return std::optional<std::string>();
    };
    EXPECT_EQ(document.exportImage(writer), std::nullopt);
    EXPECT_EQ(document.exportImage(writer), std::nullopt); // the second replaces the first
    EXPECT_EQ(written, Lines(2, home.file("Desktop/Syntax tré.jpg")));
    EXPECT_EQ(readFile(written[0]), "1");
    EXPECT_EQ(log.lines(), (Lines{"Copy to Clipboard", "Copy to Clipboard"}));
    EXPECT_EQ(redraws + editNotices, 0);
    // A Desktop that cannot be made and a missing window come back for the window to show.
    setenv("HOME", home.write("file", "").c_str(), 1);
    EXPECT_EQ(document.exportImage(writer)->rfind(
                  "Cannot create the folder " + home.file("file/Desktop") + ": ", 0),
              0u);
    EXPECT_EQ(FerrowLanthorDocument().exportImage(writer),
              "There is no picture to export: the document has no window.");
    setenv("HOME", previousHome.c_str(), 1);
}

} // namespace
} // namespace lanthor::test
