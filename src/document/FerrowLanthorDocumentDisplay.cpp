// The document's commands on the picture as a whole: level height, font and export.

#include "FerrowLanthorDocument.h"
#include "base/Log.h"
#include "base/WholeNumber.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "platform/Alerts.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace lanthor {

namespace {

/// The user's home directory: $HOME, else the password database's entry; empty when neither
/// names one.
std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

} // namespace

void FerrowLanthorDocument::toggleAlignLeaves() {
    if (mConfiguration_) {
        mConfiguration_->setAlignLeaves(!mConfiguration_->alignLeaves());
        redrawCanvas(); // the picture changes, the document does not
    }
}

void FerrowLanthorDocument::toggleTuckLeaves() {
    if (mConfiguration_) {
        mConfiguration_->setTuckLeaves(!mConfiguration_->tuckLeaves());
        redrawCanvas(); // the picture changes, the document does not
    }
}

void FerrowLanthorDocument::changeHeight() {
    if (!mConfiguration_) {
        return;
    }
    const std::int64_t current = mConfiguration_->height();
    const std::optional<std::u16string> answer =
        inputAlert().run(u"Change Tree Height", toUtf16(std::to_string(current)));
    if (!answer) {
        return;
    }
    const std::optional<std::int64_t> height =
        wholeNumberIn(*answer, kLowestLevelHeight, kHighestLevelHeight);
    if (!height) {
        refuse("The level height must be a whole number from " +
               std::to_string(kLowestLevelHeight) + " to " + std::to_string(kHighestLevelHeight) +
               ", not “" + toUtf8(*answer) + "”.");
        return;
    }
    if (*height != current) {
        // A display setting: the picture changes, the document does not.
        mConfiguration_->setHeight(*height);
        redrawCanvas();
    }
}

void FerrowLanthorDocument::changeFont(const std::function<Font(const Font&)>& convertFont) {
    logLine("Font Chnaged");
    bool changed = false; // a display setting: it never marks the document edited
    if (mConfiguration_) {
        Font chosen = convertFont(mConfiguration_->font());
        changed = !(chosen == mConfiguration_->font());
        mConfiguration_->setFont(std::move(chosen));
    }
    if (changed) {
        redrawCanvas();
    }
}

std::optional<std::string> FerrowLanthorDocument::exportImage(const ImageWriter& write) {
    // Only a log line: nothing goes to the clipboard.
    logLine("Copy to Clipboard");
    const std::shared_ptr<LanthorDocumentView> canvas = documentView();
    if (!canvas) {
        return "There is no picture to export: the document has no window.";
    }
    const std::string home = homeDirectory();
    if (home.empty()) {
        return "Cannot export: the home directory is not known.";
    }
    const std::filesystem::path desktop = std::filesystem::path(home) / "Desktop";
    std::error_code error;
    std::filesystem::create_directories(desktop, error);
    if (error) {
        return "Cannot create the folder " + desktop.string() + ": " + error.message();
    }
    return write(*canvas, (desktop / (toUtf8(displayName_) + ".jpg")).string());
}

} // namespace lanthor
