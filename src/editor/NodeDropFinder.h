#pragma once

#include "platform/Geometry.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace lanthor {

class LanthorDocumentView;
class LanthorNodeView;
class Tree;
class TreeTable;

/// Where a node dragged over the canvas would go if let go there.
struct NodeDrop {
    enum class Kind {
        Onto,    ///< onto another node: it becomes that node's last child
        Between, ///< into a gap among siblings, or before the first or after the last of them
    };
    Kind kind;
    std::u16string parent; ///< the node it would go under
    /// Where among the parent's children, counted without the dragged node, as moveNode takes
    /// it: past the end for Onto.
    std::size_t index;
    /// What shows the place, in canvas points: the target's frame for Onto; for Between the
    /// gap's x (no width) over the height of the siblings beside it.
    Rect marker;
    /// Why the move would be refused, or none when it would not.
    std::optional<std::string> refusal;
};

/// Finds drop places for one node while it is dragged. The tree must not change meanwhile:
/// parents, found by searching the table, are remembered for the whole drag.
class NodeDropFinder {
public:
    /// How far before the first or after the last sibling a gap still reaches, in points.
    static constexpr double kEndReach = 24;

    NodeDropFinder(const LanthorDocumentView& canvas, std::shared_ptr<const TreeTable> table,
                   std::u16string dragged);

    /// The place under `point` (no refusal filled in): onto the node view there; else into the
    /// gap between the nearest views left and right of it in that row, within `reach` points,
    /// when they are neighbouring siblings, or just before the first or after the last child of
    /// a parent. None anywhere else.
    std::optional<NodeDrop> dropAt(Point point, double reach);

private:
    const Tree* parentOf(const LanthorNodeView& view);
    /// Into gap `gap` of `parent`'s children: the index moveNode takes for it.
    NodeDrop between(const Tree& parent, std::size_t gap, double x, Rect left, Rect right) const;

    const LanthorDocumentView& canvas_;
    std::shared_ptr<const TreeTable> table_;
    std::u16string dragged_;
    std::unordered_map<const Tree*, std::shared_ptr<Tree>> parents_;
};

} // namespace lanthor
