#pragma once

#include "platform/Font.h"
#include "platform/MouseEvent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

class LanthorConfiguration;
class LanthorDocumentView;
class LanthorNodeView;
class TreeTable;
struct TreeLoadError;

/// One open tree document and the commands of its window. It owns the node table and the
/// display configuration; the window's canvas shares both (the table without owning it). Every
/// tree command ends by having the canvas redraw; with no canvas nothing is redrawn.
///
/// Edits are tracked: every command that changes the tree marks the document edited and calls
/// the edited handler; a command that changes nothing (a cancelled edit, a refused change of
/// parent, a swap of a root, a delete with nothing selected) does not, and neither do the
/// display settings (node numbers, level height, font), which are not saved.
class FerrowLanthorDocument {
public:
    /// Writes the canvas's picture to `path` as JPEG; returns why it failed, or none.
    using ImageWriter = std::function<std::optional<std::string>(LanthorDocumentView& canvas,
                                                                 const std::string& path)>;

    /// A document without nodes: its table is loaded from the empty text.
    FerrowLanthorDocument();
    ~FerrowLanthorDocument();
    FerrowLanthorDocument(const FerrowLanthorDocument&) = delete;
    FerrowLanthorDocument& operator=(const FerrowLanthorDocument&) = delete;

    /// Loads the tree file at `path` into a new table. On success the new table replaces the old
    /// one (and goes to the canvas, if the window is already there) and the document is clean.
    /// On failure the old table stays and the reason is returned: the caller must refuse to
    /// open the file, so that it is never overwritten by an empty document.
    std::optional<TreeLoadError> readFromURL(const std::string& path);
    /// Takes a table read some other way (from tree text) as the document's tree, as a file
    /// that loads is taken.
    void readFromTable(std::shared_ptr<TreeTable> table);
    /// The file's bytes: the table's rows as UTF-16 little-endian text behind the mark FF FE.
    std::string dataOfType() const;

    /// The window's canvas, or null once it is gone; the document does not keep it alive.
    std::shared_ptr<LanthorDocumentView> documentView() const { return documentView_.lock(); }
    void setDocumentView(const std::shared_ptr<LanthorDocumentView>& canvas) {
        documentView_ = canvas;
    }
    /// Once the window is there: gives the canvas the table and a fresh configuration and marks
    /// it for layout.
    void windowControllerDidLoadNib();
    /// Replaces the configuration by one with the defaults and gives it to the canvas. The font
    /// panel should start from mConfiguration()->font().
    void loadConfiguration();
    /// The display settings, shared with the canvas; null until the window has loaded.
    const std::shared_ptr<LanthorConfiguration>& mConfiguration() const { return mConfiguration_; }
    const std::shared_ptr<TreeTable>& treeTable() const { return treeTable_; }

    /// Flips node-number display.
    void toggleNodeNumber();
    /// Asks the selected node's new parent ("Select new Parent") and moves it there with its
    /// subtree, as its last child.
    void changeParent();
    /// Moves the selected node one place to the right among its siblings, the last to the front.
    void swapNode();
    /// Deletes the selected node with everything below it; the selection goes with it.
    void deleteTree();
    /// Adds "New Node!" under the selected node, or the root "New Tree!" to an empty tree.
    void addNode();
    /// Asks the selected node's new text ("Update Node").
    void editNode();
    /// Switches the edge into the selected node between thin and bold.
    void toogleLineWidth();
    /// Asks the new distance between levels ("Change Tree Height"): a whole number from
    /// kLowestLevelHeight to kHighestLevelHeight, else refused with the reason; redraws only
    /// when it differs.
    void changeHeight();
    static constexpr std::int64_t kLowestLevelHeight = 1;
    static constexpr std::int64_t kHighestLevelHeight = 10'000;
    /// Logs "Font Chnaged", stores convertFont(current font) and redraws, every time.
    void changeFont(const std::function<Font(const Font&)>& convertFont);
    /// Logs "Copy to Clipboard" (nothing goes to the clipboard), then has `write` write the
    /// canvas to "<home>/Desktop/<displayName>.jpg", creating the Desktop folder if missing.
    /// Returns the failure for the caller to show, or none.
    std::optional<std::string> exportImage(const ImageWriter& write);

    /// A press on one of the canvas's node views: the view selects, unselects or (on a double
    /// click) edits its node, and an edit marks the document edited. The host routes node
    /// clicks here rather than to the view, so that no edit goes unnoticed.
    void mouseDownOnNode(LanthorNodeView& view, const MouseEvent& event);

    bool isEdited() const { return edited_; }
    void setEdited(bool edited) { edited_ = edited; }
    /// Called after every command that changed the tree.
    void setEditedHandler(std::function<void()> handler) { editedHandler_ = std::move(handler); }
    /// Called with the reason when a command refuses what the user asked (also logged).
    void setRefusalHandler(std::function<void(const std::string&)> handler) {
        refusalHandler_ = std::move(handler);
    }

    /// The name the window shows, "Untitled" until the host sets it from the file name.
    const std::u16string& displayName() const { return displayName_; }
    void setDisplayName(std::u16string name) { displayName_ = std::move(name); }

private:
    /// The canvas's selected node view, or null.
    std::shared_ptr<LanthorNodeView> selectedNodeView() const;
    void redrawCanvas() const;
    /// Marks the document edited and tells the handler, when `changed`.
    void noteChange(bool changed);
    void refuse(const std::string& reason) const;

    std::weak_ptr<LanthorDocumentView> documentView_;
    std::shared_ptr<LanthorConfiguration> mConfiguration_;
    std::shared_ptr<TreeTable> treeTable_;
    bool edited_ = false;
    std::function<void()> editedHandler_;
    std::function<void(const std::string&)> refusalHandler_;
    std::u16string displayName_ = u"Untitled";
};

} // namespace lanthor
