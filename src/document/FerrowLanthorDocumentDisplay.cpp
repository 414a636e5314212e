// The document's commands on the picture as a whole: level height, font and export.

#include "FerrowLanthorDocument.h"
#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"

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

void FerrowLanthorDocument::changeHeight() {
    if (!mConfiguration_) {
        return;
    }
    const std::int64_t current = mConfiguration_->height();
    const std::int64_t answer = input(u"Change Tree Height", current);
    if (answer == current) {
        return;
    }
    // Any value is kept, 0 and negative ones included.
    mConfiguration_->setHeight(answer);
    redrawCanvas();
    noteChange(true);
}

void FerrowLanthorDocument::changeFont(const std::function<Font(const Font&)>& convertFont) {
    logLine("Font Chnaged");
    bool changed = false;
    if (mConfiguration_) {
        Font chosen = convertFont(mConfiguration_->font());
        changed = !(chosen == mConfiguration_->font());
        mConfiguration_->setFont(std::move(chosen));
    }
    redrawCanvas();
    noteChange(changed);
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
