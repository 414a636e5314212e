#pragma once

#include "platform/Color.h"
#include "platform/View.h"

#include <memory>

namespace lanthor {

class Tree;

/// The view of one node on the canvas. It owns its node; the node refers back to it without
/// owning it. The selected view shows a gray background, every other view its text alone.
class LanthorNodeView : public View {
public:
    explicit LanthorNodeView(Rect frame);

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

    void selectNode();
    void unselectNode();
    /// Shows the background exactly while the view is selected.
    void updateNodeSelection();
    /// Leaves the canvas and lets go of the node, when the node is deleted.
    void deleteSelf();

private:
    bool nodeSelected_ = false;
    std::shared_ptr<Tree> underlyingNode_;
    bool drawsBackground_ = true;
    Color backgroundColor_ = Color::gray();
    bool editable_ = true;
    bool selectable_ = true;
};

} // namespace lanthor
