#include "DocumentFixture.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lanthor::test {
namespace {

using DisplayCommands = DocumentFixture;

/// Points HOME at a fresh folder while it exists.
struct HomeFolder : TempDir {
    HomeFolder() {
        if (const char* home = std::getenv("HOME")) {
            previous = home;
        }
        setenv("HOME", path().c_str(), 1);
    }
    ~HomeFolder() { previous ? setenv("HOME", previous->c_str(), 1) : unsetenv("HOME"); }
    std::optional<std::string> previous;
};

TEST_F(DisplayCommands, HeightTakesTheLeadingIntegerAndChangesOnlyWhenItDiffers) {
    resetCounts();
    alert.ok(u"60");
    document.changeHeight();
    alert.cancel();
    document.changeHeight();
    EXPECT_EQ(redraws + editNotices, 0);
    alert.ok(u"  -7 points");
    document.changeHeight();
    EXPECT_EQ(canvas->mConfiguration()->height(), -7);
    alert.ok(u"tall"); // no number: 0, kept like any other height
    document.changeHeight();
    EXPECT_EQ(canvas->mConfiguration()->height(), 0);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editNotices, 2);
    EXPECT_EQ(alert.asked, (Lines{"Change Tree Height | 60", "Change Tree Height | 60",
                                  "Change Tree Height | 60", "Change Tree Height | -7"}));
    // Without an alert every question is cancelled.
    setInputAlert(nullptr);
    EXPECT_EQ(document.input(u"How many?", 4), 4);
    EXPECT_EQ(setInputAlert(&alert), nullptr);
}

TEST_F(DisplayCommands, FontChangeAlwaysLogsAndRedraws) {
    resetCounts();
    Font offered(u"", 0);
    document.changeFont([&offered](const Font& font) {
        offered = font;
        return font;
    });
    EXPECT_EQ(offered, Font(u"Helvetica", 15.0));
    EXPECT_EQ(editNotices, 0);
    document.changeFont([](const Font& font) { return Font(u"Courier", font.pointSize() + 3); });
    EXPECT_EQ(canvas->mConfiguration()->font(), Font(u"Courier", 18.0));
    EXPECT_EQ(log.lines(), (Lines{"Font Chnaged", "Font Chnaged"}));
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editNotices, 1);
}

TEST_F(DisplayCommands, ExportWritesToTheDesktopUnderTheDisplayName) {
    const HomeFolder home;
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
    const std::string expected = (home.path() / "Desktop" / "Syntax tré.jpg").string();
    EXPECT_EQ(written, (Lines{expected, expected}));
    EXPECT_EQ(readFile(expected), "1");
    EXPECT_EQ(log.take(), (Lines{"Copy to Clipboard", "Copy to Clipboard"}));
    EXPECT_EQ(redraws + editNotices, 0);
    // The writer's failure, a Desktop that cannot be made, and a missing window come back for
    // the window to show.
    EXPECT_EQ(document.exportImage([](LanthorDocumentView&, const std::string&) {
        return std::optional<std::string>("disk full");
    }),
              "disk full");
    std::filesystem::remove_all(home.path() / "Desktop");
    std::ofstream(home.path() / "Desktop") << "a file, not a folder";
    EXPECT_EQ(document.exportImage(writer)->rfind(
                  "Cannot create the folder " + (home.path() / "Desktop").string() + ": ", 0),
              0u);
    EXPECT_EQ(written.size(), 2u);
    FerrowLanthorDocument alone;
    EXPECT_EQ(alone.exportImage(writer),
              "There is no picture to export: the document has no window.");
}

} // namespace
} // namespace lanthor::test
