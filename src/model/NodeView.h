#pragma once

namespace lanthor {

/// What the model knows of a view that shows a node: only that it must let go when its node is
/// deleted. The canvas's node views implement it; the model never sees more of them.
class NodeView {
public:
    virtual ~NodeView() = default;
    /// The node is being deleted: leave the display and let go of the node.
    virtual void deleteSelf() = 0;

protected:
    NodeView() = default;
    NodeView(const NodeView&) = default;
    NodeView& operator=(const NodeView&) = default;
};

} // namespace lanthor
