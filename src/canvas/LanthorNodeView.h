#pragma once

#include "ChildLookup.h"
#include "LabelCache.h"
#include "LayoutMarks.h"
#include "model/NodeView.h"
#include "model/Tree.h"
#include "model/TreeEdits.h"
#include "platform/AttributedString.h"
#include "platform/Color.h"
#include "platform/MouseEvent.h"
#include "platform/View.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

class LanthorDocumentView;
class Painter;
class TextSystem;

/// The view of one node on the canvas: a text view that is neither editable nor selectable once
/// laid out. It owns its node; the node refers back to it without owning it. The selected view
/// shows a gray background, every other view its text alone.
///
/// Like the platform's text view it is as tall as its text: whatever height its frame is given,
/// it takes the height of the text it holds (one line's while it holds none).
class LanthorNodeView : public View, public NodeView {
public:
    /// Text inside the view starts this far from its left edge and ends as far from its right.
    static constexpr double kLineFragmentPadding = 5.0;

    /// `textSystem` measures the text that is set; without one, text measures (0, 0).
    explicit LanthorNodeView(Rect frame, const TextSystem* textSystem = nullptr);

    bool nodeSelected() const { return nodeSelected_; }
    /// Sets the flag alone; the background follows at the next updateNodeSelection.
    void setNodeSelected(bool selected) { nodeSelected_ = selected; }
    const std::shared_ptr<Tree>& underlyingNode() const { return underlyingNode_; }
    void setUnderlyingNode(std::shared_ptr<Tree> node) { underlyingNode_ = std::move(node); }

    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }
    Color backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(Color color) { backgroundColor_ = color; }
    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }

    /// The styled text shown.
    const AttributedString& textStorage() const { return textStorage_; }
    /// Replaces the text shown; the view takes the height of the new text.
    void setTextStorage(AttributedString text);
    /// Shows no text, yet stays `lineHeight` tall: an empty node must remain visible and
    /// clickable.
    void setEmptyText(double lineHeight);
    /// The measured size of the text shown.
    Size textSize() const { return textSize_; }
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
    /// Has the canvas redraw; nothing without a canvas.
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

    /// What the text shown was made from; the canvas's layout keeps it.
    const LabelCache& labelCache() const { return labelCache_; }
    void setLabelCache(const LabelCache& cache) { labelCache_ = cache; }
    /// The node's children as the canvas last found them; the layout and edges keep it.
    ChildLookup& childLookup() { return childLookup_; }
    /// What the canvas's passes noted on the view.
    LayoutMarks& layoutMarks() { return layoutMarks_; }

private:
    // The flags sit together: a canvas holds one view per node, so every byte counts.
    bool nodeSelected_ = false;
    bool drawsBackground_ = true;
    bool editable_ = true;
    bool selectable_ = true;
    std::shared_ptr<Tree> underlyingNode_;
    Color backgroundColor_ = Color::gray();
    const TextSystem* textSystem_;
    AttributedString textStorage_;
    Size textSize_;
    LabelCache labelCache_;
    ChildLookup childLookup_;
    LayoutMarks layoutMarks_;
};

/// The view that shows `node`, or null. Only the canvas gives nodes their views, so every view a
/// node names is one of its node views.
inline std::shared_ptr<LanthorNodeView> nodeViewOf(const Tree& node) {
    return std::static_pointer_cast<LanthorNodeView>(node.uiObject());
}

} // namespace lanthor
