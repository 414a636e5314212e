#pragma once

#include "UndoHistory.h"
#include "platform/Font.h"
#include "platform/MouseEvent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lanthor {

class LanthorConfiguration;
class LanthorDocumentView;
class LanthorNodeView;
class NodeAttributes;
class Tree;
class TreeTable;
struct ChildMove;
struct TreeLoadError;

/// One open tree document and the commands of its window. It owns the node table and the
/// display configuration; the window's canvas shares both (the table without owning it). Every
/// tree command ends by having the canvas redraw; with no canvas nothing is redrawn.
///
/// Edits are tracked: every command that changes the tree adds a step to the undo history,
/// named after the command, and calls the edited handler; a command that changes nothing (a
/// cancelled edit, a refused change of parent, a swap of a root, a delete with nothing selected)
/// does not, and neither do the display settings (node numbers, level height, font), which are
/// not saved. Undo and redo take steps back and make them again exactly, down to the saved
/// bytes; the document is edited exactly while the history is away from where the content last
/// matched the file.
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
    /// one (and goes to the canvas, if the window is already there), the undo history starts
    /// anew and the document is clean.
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

    /// What the selection lets the tree commands act on: nothing selected; a node without a
    /// parent, which Swap, Change Parent and Bold Edge have nothing to act on; or a node with
    /// one. Finding the parent takes time linear in the tree.
    enum class Selection { None, NodeWithoutParent, NodeWithParent };
    Selection selection() const;
    std::size_t nodeCount() const;

    /// Flips node-number display.
    void toggleNodeNumber();
    /// Flips whether every leaf is drawn on the bottom row; a display setting.
    void toggleAlignLeaves();
    /// Flips whether a leaf that is its parent's only child is drawn right under it, without
    /// an edge; a display setting.
    void toggleTuckLeaves();
    /// Asks the selected node's new parent ("Select new Parent") and moves it there with its
    /// subtree, as its last child. An answer it cannot use is refused with the reason, as
    /// moveNode refuses it (to the refusal handler only: the view logs its own message).
    void changeParent();
    /// Moves the selected node one place to the right among its siblings, the last to the front.
    void swapNode();
    /// Deletes the selected node with everything below it; the selection goes with it.
    void deleteTree();
    /// Deletes as deleteTree does, named "Cut" in the history: the window has put a copy of the
    /// subtree on the clipboard first.
    void cutTree();
    /// Adds "New Node!" under the selected node, or the root "New Tree!" to an empty tree.
    void addNode();
    /// Asks the selected node's new text ("Update Node").
    void editNode();
    /// Switches the edge into the selected node between thin and bold.
    void toogleLineWidth();
    /// Puts a roof over the selected node's children, or takes it away: "Roof".
    void toggleRoof();
    /// True when the selected node has a roof.
    bool hasRoof() const;
    /// Asks the number of the node that an arrow from the selected node goes to ("Arrow to
    /// Node") and adds the arrow as addArrow(target) does.
    void addArrow();
    /// Adds an arrow from the selected node to the node `target`: "Add Arrow". Refuses a node
    /// that does not exist and the selected node itself; an arrow that is there already
    /// changes nothing. Returns true when the tree changed.
    bool addArrow(std::u16string_view target);
    /// Removes every arrow that leaves the selected node: "Remove Arrows".
    void removeArrows();
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
    /// click) edits its node, and an edit is recorded as "Edit Node". The host routes node
    /// clicks here rather than to the view, so that no edit goes unnoticed.
    void mouseDownOnNode(LanthorNodeView& view, const MouseEvent& event);

    /// Moves the node `number` with its subtree to become child number `index` of `newParent`
    /// (counted without the node; an index past the end makes it the last child), also among
    /// its own siblings, and selects it: "Move Node". Refuses, through the refusal handler,
    /// a node or new parent that does not exist, a root (it has no parent to leave) and a new
    /// parent that is the node itself or below it. Returns true when the tree changed.
    bool moveNode(std::u16string_view number, std::u16string_view newParent, std::size_t index);
    /// Why moveNode would refuse to move the node `number` under `newParent`, or none when it
    /// would not: for hosts that show it before the user lets go.
    std::optional<std::string> moveRefusal(std::u16string_view number,
                                           std::u16string_view newParent) const;
    /// Adds copies of the trees of `trees` (read from tree text, say) under fresh numbers as the
    /// last children of the selected node, or as new roots when none is selected, and selects
    /// the first of their tops: "Paste". Returns false, changing nothing, when `trees` holds no
    /// tree.
    bool insertTree(std::shared_ptr<const TreeTable> trees);
    /// A copy of the selected node's subtree, or of the whole tree when none is selected, as a
    /// table of its own (TreeTable::copyTrees); treeFormatBytes makes its text.
    std::shared_ptr<TreeTable> selectedTrees() const;

    /// Takes the last change back, when there is one, and selects the node it acted on if that
    /// is there (else nothing).
    void undo();
    /// Makes the last change taken back again, when there is one, and selects as undo does.
    void redo();
    const UndoHistory& undoHistory() const { return history_; }

    /// True while the content differs from the file: the history is away from its clean point,
    /// or the content came from elsewhere (setEdited(true)).
    bool isEdited() const { return unsavedContent_ || !history_.isClean(); }
    /// True: the content is in no file (it came from a recovery copy or standard input) and
    /// stays edited whatever undo does, until the next setEdited(false). False: the content has
    /// just been saved; the history's present position becomes its clean point.
    void setEdited(bool edited);
    /// Called after every change to the tree, and after every undo and redo.
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
    /// The number of the selected view's node, if a view with a node is selected.
    std::optional<std::u16string> selectedNumber() const;
    /// The node stored under `number`, or null.
    std::shared_ptr<Tree> findNode(std::u16string_view number) const;
    /// Lays the whole tree out again: after changes that nothing noted.
    void redrawCanvas() const;
    /// Lays out again only what the changes move: those the node views noted as they made
    /// them, and those to `changed` (a node whose label or children changed).
    void redrawChanges(std::initializer_list<const Tree*> changed = {}) const;
    /// Selects the view of the node `number` (laying the tree out first when the node has no
    /// view yet), or nothing when there is no such node or it is not shown.
    void select(const std::optional<std::u16string>& number);
    /// Adds a change just made to the history and tells the edited handler.
    void record(UndoHistory::Step step);
    void recordMove(std::string name, const ChildMove& move);
    void recordTextChange(const Tree& node, std::u16string before);
    /// Applies `change` to the selected node's attributes and, when they differ, lays the tree
    /// out again and records the step `name`; true when they changed.
    bool changeAttributes(std::string name, const std::function<void(NodeAttributes&)>& change);
    /// After an undo or redo: redraws, selects `selection` and tells the edited handler.
    void finishStep(const std::optional<std::u16string>& selection);
    void refuse(const std::string& reason) const;
    void deleteSelected(std::string stepName);
    /// The present parent of the node `number`, when moveNode may move it under `newParent`;
    /// else why not.
    std::variant<std::shared_ptr<Tree>, std::string> checkMove(std::u16string_view number,
                                                               std::u16string_view newParent) const;

    std::weak_ptr<LanthorDocumentView> documentView_;
    std::shared_ptr<LanthorConfiguration> mConfiguration_;
    std::shared_ptr<TreeTable> treeTable_;
    UndoHistory history_;
    bool unsavedContent_ = false;
    std::function<void()> editedHandler_;
    std::function<void(const std::string&)> refusalHandler_;
    std::u16string displayName_ = u"Untitled";
};

} // namespace lanthor
