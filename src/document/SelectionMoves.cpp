#include "SelectionMoves.h"

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <unordered_set>
#include <vector>

namespace lanthor {

namespace {

using NodePointer = std::shared_ptr<Tree>;

/// The tree as the keyboard walks it (see SelectionMove), over the nodes with a view on the
/// canvas. Walks that could go round a cycle of parents stop where they come back.
class ShownTree {
public:
    ShownTree(const LanthorDocumentView& canvas, const TreeTable& table,
              const NodeDictionary& nodes)
        : canvas_(canvas), table_(table), nodes_(nodes) {}

    NodePointer parent(const Tree& node) const {
        if (node.realRoot()) {
            return nullptr;
        }
        NodePointer found = table_.findParent(node.nodeNumber());
        return found && shown(*found) ? found : nullptr;
    }

    NodePointer firstChild(const Tree& node) const { return childFrom(node, 0, 1); }

    /// Beside `node` among its parent's children, or among the roots when it has no parent.
    NodePointer sibling(const NodePointer& node, int step) const {
        const NodePointer parent = this->parent(*node);
        return parent ? childBeside(*parent, *node, step) : adjacentRoot(*node, step);
    }

    NodePointer firstRoot() const {
        return nodes_.findFirst([this](const Tree& node) { return isShownRoot(node); });
    }

    NodePointer next(const NodePointer& node) const {
        if (NodePointer below = firstChild(*node)) {
            return below;
        }
        // Up until an ancestor has a next sibling.
        std::unordered_set<const Tree*> climbed;
        for (NodePointer current = node; climbed.insert(current.get()).second;) {
            const NodePointer parent = this->parent(*current);
            if (!parent) {
                const NodePointer root = adjacentRoot(*current, 1);
                return root ? root : firstRoot();
            }
            if (NodePointer after = childBeside(*parent, *current, 1)) {
                return after;
            }
            current = parent;
        }
        return firstRoot();
    }

    NodePointer previous(const NodePointer& node) const {
        const NodePointer parent = this->parent(*node);
        if (!parent) {
            const NodePointer root = adjacentRoot(*node, -1);
            return lastBelow(root ? root : lastRoot());
        }
        const NodePointer before = childBeside(*parent, *node, -1);
        return before ? lastBelow(before) : parent;
    }

private:
    bool shown(const Tree& node) const {
        const std::shared_ptr<LanthorNodeView> view = nodeViewOf(node);
        return view && view->canvas() == &canvas_;
    }

    bool isShownRoot(const Tree& node) const { return node.realRoot() && shown(node); }

    /// The node listed at `index` in `parent`'s children, when it is the parent's child as the
    /// walk takes it; else null.
    NodePointer childAt(const Tree& parent, std::size_t index) const {
        const std::vector<std::u16string>& list = parent.childrenList();
        const auto at = list.begin() + static_cast<std::ptrdiff_t>(index);
        if (std::find(list.begin(), at, *at) != at) {
            return nullptr; // listed before
        }
        NodePointer child = nodes_.find(*at);
        if (!child || child->realRoot() || !shown(*child) ||
            table_.findParent(child->nodeNumber()).get() != &parent) {
            return nullptr;
        }
        return child;
    }

    /// The first child listed at `from` or beyond, going right (`step` 1) or left (-1).
    NodePointer childFrom(const Tree& parent, std::ptrdiff_t from, int step) const {
        const auto count = std::ssize(parent.childrenList());
        for (std::ptrdiff_t index = from; index >= 0 && index < count; index += step) {
            if (NodePointer child = childAt(parent, static_cast<std::size_t>(index))) {
                return child;
            }
        }
        return nullptr;
    }

    NodePointer childBeside(const Tree& parent, const Tree& child, int step) const {
        const std::vector<std::u16string>& list = parent.childrenList();
        const auto at = std::find(list.begin(), list.end(), child.nodeNumber());
        return at == list.end() ? nullptr : childFrom(parent, (at - list.begin()) + step, step);
    }

    /// The shown root nearest to `node`'s place in the table, after it (`step` 1) or before it
    /// (`step` -1), or null.
    NodePointer adjacentRoot(const Tree& node, int step) const {
        const std::optional<std::size_t> start = nodes_.positionOf(node.nodeNumber());
        if (!start) {
            return nullptr;
        }
        const auto end = static_cast<std::ptrdiff_t>(nodes_.positionCount());
        for (auto position = static_cast<std::ptrdiff_t>(*start) + step;
             position >= 0 && position < end; position += step) {
            const NodePointer& candidate = nodes_.nodeAt(static_cast<std::size_t>(position));
            if (candidate && isShownRoot(*candidate)) {
                return candidate;
            }
        }
        return nullptr;
    }

    NodePointer lastRoot() const {
        for (std::size_t position = nodes_.positionCount(); position-- > 0;) {
            const NodePointer& candidate = nodes_.nodeAt(position);
            if (candidate && isShownRoot(*candidate)) {
                return candidate;
            }
        }
        return nullptr;
    }

    /// The last node of `top`'s subtree in reading order.
    NodePointer lastBelow(NodePointer top) const {
        std::unordered_set<const Tree*> descended;
        while (top && descended.insert(top.get()).second) {
            NodePointer last = childFrom(*top, std::ssize(top->childrenList()) - 1, -1);
            if (!last) {
                break;
            }
            top = std::move(last);
        }
        return top;
    }

    const LanthorDocumentView& canvas_;
    const TreeTable& table_;
    const NodeDictionary& nodes_;
};

NodePointer target(const ShownTree& tree, const NodePointer& from, SelectionMove move) {
    switch (move) {
    case SelectionMove::Parent:
        return tree.parent(*from);
    case SelectionMove::FirstChild:
        return tree.firstChild(*from);
    case SelectionMove::PreviousSibling:
        return tree.sibling(from, -1);
    case SelectionMove::NextSibling:
        return tree.sibling(from, 1);
    case SelectionMove::NextInReadingOrder:
        return tree.next(from);
    case SelectionMove::PreviousInReadingOrder:
        return tree.previous(from);
    }
    return nullptr;
}

} // namespace

bool moveSelection(LanthorDocumentView& canvas, SelectionMove move) {
    const std::shared_ptr<TreeTable> table = canvas.mTreeTable();
    const NodeDictionary* nodes = table ? table->nodeDictionary() : nullptr;
    if (!nodes) {
        return false;
    }
    const ShownTree tree(canvas, *table, *nodes);
    const std::shared_ptr<LanthorNodeView>& selected = canvas.selectedNode();
    const NodePointer from =
        selected && selected->canvas() == &canvas ? selected->underlyingNode() : nullptr;
    const NodePointer to = from ? target(tree, from, move) : tree.firstRoot();
    if (!to || to == from) {
        return false;
    }
    selectNodeView(canvas, nodeViewOf(*to));
    return true;
}

void selectNodeView(LanthorDocumentView& canvas, const std::shared_ptr<LanthorNodeView>& view) {
    if (const std::shared_ptr<LanthorNodeView>& previous = canvas.selectedNode();
        previous && previous != view) {
        previous->unselectNode();
    }
    view->selectNode();
    canvas.setSelectedNode(view);
}

void clearSelection(LanthorDocumentView& canvas) {
    if (const std::shared_ptr<LanthorNodeView>& selected = canvas.selectedNode()) {
        selected->unselectNode();
    }
    canvas.setSelectedNode(nullptr);
}

std::shared_ptr<LanthorNodeView> firstRootView(const LanthorDocumentView& canvas) {
    const std::shared_ptr<TreeTable> table = canvas.mTreeTable();
    const NodeDictionary* nodes = table ? table->nodeDictionary() : nullptr;
    if (!nodes) {
        return nullptr;
    }
    const NodePointer root = ShownTree(canvas, *table, *nodes).firstRoot();
    return root ? nodeViewOf(*root) : nullptr;
}

} // namespace lanthor
