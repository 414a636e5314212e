#include "DocumentFixture.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lanthor::test {

namespace {

using DisplayCommands = EditorFixture;

TEST_F(DisplayCommands, HeightChangesOnlyWhenTheAnswerDiffers) {
    resetCounts();
    alert.ok(u"60");
    document.changeHeight();
    alert.cancel();
    document.changeHeight();
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(editNotices, 0);

    alert.ok(u"80");
    document.changeHeight();
    EXPECT_EQ(canvas->mConfiguration()->height(), 80);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(editNotices, 1);

    // Text without a number gives 0, which is kept like any other height.
    alert.ok(u"tall");
    document.changeHeight();
    EXPECT_EQ(canvas->mConfiguration()->height(), 0);
    EXPECT_EQ(alert.asked, (Lines{"Change Tree Height | 60", "Change Tree Height | 60",
                                  "Change Tree Height | 60", "Change Tree Height | 80"}));
}

TEST_F(DisplayCommands, FontChangeAlwaysLogsAndRedraws) {
    resetCounts();
    Font offered(u"", 0);
    document.changeFont([&offered](const Font& font) {
        offered = font;
        return font;
    });
    EXPECT_EQ(offered, Font(u"Helvetica", 15.0));
    EXPECT_EQ(log.lines(), Lines{"Font Chnaged"});
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(editNotices, 0);

    document.changeFont([](const Font& font) { return Font(u"Courier", font.pointSize() + 3); });
    EXPECT_EQ(canvas->mConfiguration()->font(), Font(u"Courier", 18.0));
    EXPECT_EQ(log.lines(), (Lines{"Font Chnaged", "Font Chnaged"}));
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editNotices, 1);
}

/// Points HOME at a folder of its own while it exists.
class HomeFolder {
public:
    HomeFolder() {
        if (const char* home = std::getenv("HOME")) {
            previous_ = home;
        }
        setenv("HOME", dir_.path().c_str(), 1);
    }
    ~HomeFolder() {
        if (previous_) {
            setenv("HOME", previous_->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

TEST_F(DisplayCommands, ExportWritesToTheDesktopUnderTheDisplayName) {
    HomeFolder home;
    load(u"0,,R,Top\n");
    document.setDisplayName(u"Syntax tré");
    std::vector<std::string> written;
    const auto writer = [&written](LanthorDocumentView& drawn, const std::string& path) {
        written.push_back(path);
        std::ofstream(path) << drawn.subviewCount();
        return std::optional<std::string>();
    };
    resetCounts();
    EXPECT_EQ(document.exportImage(writer), std::nullopt);
    EXPECT_EQ(document.exportImage(writer), std::nullopt); // the second replaces the first
    const std::string expected = (home.path() / "Desktop" / "Syntax tré.jpg").string();
    EXPECT_EQ(written, (Lines{expected, expected}));
    EXPECT_EQ(readFile(expected), "1");
    EXPECT_EQ(log.lines(), (Lines{"Copy to Clipboard", "Copy to Clipboard"}));
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(editNotices, 0);

    // The writer's failure comes back for the window to show.
    EXPECT_EQ(document.exportImage([](LanthorDocumentView&, const std::string&) {
        return std::optional<std::string>("disk full");
    }),
              "disk full");
}

TEST_F(DisplayCommands, ExportReportsADesktopThatCannotBeMade) {
    HomeFolder home;
    std::ofstream(home.path() / "Desktop") << "a file, not a folder";
    bool called = false;
    const std::optional<std::string> failure =
        document.exportImage([&called](LanthorDocumentView&, const std::string&) {
            called = true;
            return std::optional<std::string>();
        });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rfind("Cannot create the folder " + (home.path() / "Desktop").string(), 0),
              0u);
    EXPECT_FALSE(called);
}

} // namespace

} // namespace lanthor::test
