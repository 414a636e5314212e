#pragma once

#include "model/NodeView.h"
#include "model/Tree.h"
#include "model/TreeEdits.h"
#include "platform/AttributedString.h"
#include "platform/MouseEvent.h"
#include "platform/View.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

class LanthorDocumentView;
class Painter;

/// The view of one node on the canvas: a text view that is neither editable nor selectable once
/// laid out. It owns its node; the node refers back to it without owning it. The selected view
/// shows a gray background, every other view its text alone.
///
/// Like the platform's text view it is as tall as its text: whatever height its frame is given,
/// it takes the height of the text it holds (one line's while it holds none).
///
/// A canvas holds one view per node, so a view keeps only what the layout needs (the label's
/// measure); its styled text is made by the canvas when it is drawn or asked for.
class LanthorNodeView : public View, public NodeView {
public:
    /// Text inside the view starts this far from its left edge and ends as far from its right.
    static constexpr double kLineFragmentPadding = 5.0;

    explicit LanthorNodeView(Rect frame);

    bool nodeSelected() const { return nodeSelected_; }
    /// Sets the flag alone; the background follows at the next updateNodeSelection.
    void setNodeSelected(bool selected) { nodeSelected_ = selected; }
    const std::shared_ptr<Tree>& underlyingNode() const { return underlyingNode_; }
    /// Shows another node: the next pass measures its label.
    void setUnderlyingNode(std::shared_ptr<Tree> node);

    /// While set, the view shows the platform's gray under its text.
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }
    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }

    /// The styled text shown: its node's label as the canvas reads it, made when asked for. Empty
    /// for a label without visible text, and for a view on no canvas. A node changed since the last
    /// pass shows its new text in the frame that pass gave it, until the next pass measures it:
    /// hosts lay out before they draw.
    AttributedString textStorage() const;
    /// The measured size of the text shown, as the last pass measured it: (0, one line high)
    /// when it shows none, so that an empty node remains visible and clickable.
    Size textSize() const { return {textWidth_, frame().size.height}; }
    /// Where the text is drawn, in the superview's coordinates.
    Rect textRect() const;

    /// Keeps the width asked for; the height stays that of the text.
    void setFrameSize(Size size) override;

    /// Draws the view in its superview's coordinates: the background while it is drawn, then
    /// the text.
    void drawRect(Painter& painter) const;

    void selectNode();
    void unselectNode();
    /// Shows the background exactly while the view is selected.
    void updateNodeSelection();
    /// Leaves the canvas and lets go of the node (and of the children it found for it), when the
    /// node is deleted.
    void deleteSelf() override;
    /// The canvas the view is on: its superview when that is exactly a LanthorDocumentView (a
    /// subclass does not count), else null. A deleted view has none.
    LanthorDocumentView* canvas() const;

    /// A press on the view. A press on an unselected view selects it and unselects the canvas's
    /// previous selection; a press on the selected view unselects it, and when it is the second
    /// press of a double click, edits the node first. Returns true when that edit changed the
    /// node's text.
    bool mouseDown(const MouseEvent& event);
    /// Asks for a text through the input alert: OK gives the field's text (possibly empty),
    /// Cancel gives `defaultText`.
    std::u16string input(std::u16string_view prompt, std::u16string_view defaultText) const;
    /// Asks for the node's new text ("Update Node", offering the present one), stores it and has
    /// the canvas redraw. Without a node the question is still asked, with an empty field, and
    /// nothing changes. Returns true when the text changed.
    bool editNode();
    /// Adds a child "New Node!" under this view's node, as its last child, and has the canvas
    /// redraw. Without a canvas nothing happens.
    void addNode();
    /// Has the canvas lay out again what the noted changes move, and display; nothing without a
    /// canvas.
    void parentRedraw();
    /// Switches the edge into the node between thin and bold; the caller redraws. Returns false
    /// when there is no node to switch.
    bool toggleLineWidth();

    /// Moves the node one place to the right among its siblings, the last one to the front, and
    /// has the canvas redraw. Without a parent it logs "Cannot locate parent node(s)" and does
    /// nothing else. Returns the move when the order of the siblings changed.
    std::optional<ChildMove> swapNode();
    /// Asks for the new parent's number ("Select new Parent", offering the present parent's) and
    /// moves the node with its subtree to the end of that parent's children; the caller
    /// redraws. Logs "Cannot locate parent node(s)" and changes nothing when the node has no
    /// parent, when the answer names no node, or when it names the node itself or a node below
    /// it (which would cut the subtree off from its root). Returns the move when the tree
    /// changed.
    std::optional<ChildMove> changeParent();

private:
    // The canvas's passes measure, place and mark its views; the two refer to each other by
    // design, and these fields are theirs.
    friend class LanthorDocumentView;
    friend class LayoutIndex;

    static constexpr std::uint32_t kUnplaced = UINT32_MAX;

    // Every byte counts: a canvas holds a million of these. 56 bytes beside the View's 80.
    std::shared_ptr<Tree> underlyingNode_;
    double textWidth_ = 0;
    /// The node's revision and the canvas's label settings when the label was last measured;
    /// generation 0: never measured (or the node was replaced since).
    std::uint64_t labelRevision_ = 0;
    std::uint32_t labelGeneration_ = 0;
    /// The last walk (layout or edges) that reached the view, so that each reaches it once.
    std::uint32_t walkStamp_ = 0;
    /// The row the canvas's last pass placed the view in, or kUnplaced.
    std::uint32_t level_ = kUnplaced;
    bool nodeSelected_ = false;
    bool tucked_ = false; ///< right under its parent, without an edge
    bool drawsBackground_ = true;
    bool editable_ = true;
    bool selectable_ = true;
};

/// The view that shows `node`, or null. Only the canvas gives nodes their views, so every view a
/// node names is one of its node views.
inline std::shared_ptr<LanthorNodeView> nodeViewOf(const Tree& node) {
    return std::static_pointer_cast<LanthorNodeView>(node.uiObject());
}

} // namespace lanthor
