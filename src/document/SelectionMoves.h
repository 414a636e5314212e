#pragma once

#include <memory>

namespace lanthor {

class LanthorDocumentView;
class LanthorNodeView;

/// Where the keyboard takes a canvas's selection. The nodes are visited as the canvas lays them
/// out: the roots left to right in the table's order, then each node's children left to right
/// in its list. A node that is not a root belongs to its parent, the first node in the table
/// that lists it (as the tree commands find it), and is visited there only, so that a file that
/// is not one tree is still walked without going round in circles.
enum class SelectionMove {
    Parent,          ///< none for a root
    FirstChild,      ///< its leftmost child
    PreviousSibling, ///< the one left of it among its parent's children, or among the roots
    NextSibling,     ///< the one right of it
    /// Reading order, depth first, each node before its children: the next node, and after the
    /// last one the first root.
    NextInReadingOrder,
    /// The node before it in reading order, and before the first root the last node.
    PreviousInReadingOrder,
};

/// Moves `canvas`'s selection as a click selects: the view reached shows it, the view left does
/// not. Only nodes with a view on the canvas are reached. With nothing selected, every move
/// selects the first root. Returns true when the selection changed; a move with nowhere to go
/// (up from a root, down from a leaf, right of the last sibling) leaves it as it was.
///
/// A move costs the length of the lists it reads, plus, for every parent it needs, one search
/// of the table (parents are found by searching).
bool moveSelection(LanthorDocumentView& canvas, SelectionMove move);
/// Selects `view`, a view on `canvas`, and unselects the one selected before.
void selectNodeView(LanthorDocumentView& canvas, const std::shared_ptr<LanthorNodeView>& view);
/// Unselects the selected view, if any.
void clearSelection(LanthorDocumentView& canvas);
/// The view of the first root that `canvas` lays out, or null.
std::shared_ptr<LanthorNodeView> firstRootView(const LanthorDocumentView& canvas);

} // namespace lanthor
