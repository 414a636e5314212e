// The canvas's layout pass: one node view per node, rows by level, subtrees packed left to right
// and each parent centred over its children, in 32-bit integer arithmetic.

#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "NodeViewPool.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <atomic>

namespace lanthor {

namespace {

constexpr std::int32_t kTopRowY = 30;

/// A node of the tree being measured, while its children are.
struct PendingNode {
    LanthorNodeView* view;
    const Tree* node;
    std::size_t level; ///< its row in the walk's rows
    std::size_t entry; ///< its entry in that row
    std::size_t nextChild = 0;
    std::int32_t acc = 0; ///< the children's subtree widths so far
};

} // namespace

std::uint32_t LanthorDocumentView::newWalkStamp() {
    static std::atomic<std::uint32_t> last{0};
    return ++last;
}

void LanthorDocumentView::layOut() {
    const std::shared_ptr<TreeTable> table = mTreeTable();
    // Moved leaves and their rows part ways: every pass then lays out the whole tree.
    if (table && !leavesMoved() && layOutChanges(*table)) {
        log(u"draw", u"nodes");
        finishLayout();
        return;
    }
    drawAllNodes();
}

void LanthorDocumentView::drawAllNodes() {
    log(u"draw", u"nodes");
    const std::shared_ptr<TreeTable> table = mTreeTable();
    if (!table || !table->nodeDictionary()) {
        return;
    }
    const NodeDictionary& dictionary = *table->nodeDictionary();
    const std::int32_t height = wrapToInt32(configuration().height());
    MeasureWalk walk{newWalkStamp(), 0};
    std::vector<LayoutRow> rows;
    index_ = LayoutIndex(); // its memory is better spent on the new one
    indexValid_ = false;
    strays_.clear();
    extraEdges_.clear();
    if (!layOutCleanTree(dictionary, rows, walk)) {
        dictionary.forEach([&](const std::shared_ptr<Tree>& node) {
            if (node->realRoot()) {
                measureTree(node, dictionary, rows, walk);
            }
        });
    }
    LayoutIndex::trimRows(rows);
    setRowTops(rows, 0, height);
    for (LayoutRow& row : rows) {
        row.markDirty(0, row.entries.size());
    }
    index_.rows() = std::move(rows);
    index_.place(kRootX);
    finishWholeLayout(*table, walk, height);
}

std::int32_t LanthorDocumentView::drawNode(const std::shared_ptr<Tree>& node,
                                           const TreeTable& table, std::int32_t x,
                                           std::int32_t level, std::int32_t height) {
    if (!table.nodeDictionary()) {
        return 0;
    }
    // A pass of its own, over part of the tree: the index no longer holds every frame.
    indexValid_ = false;
    wholeTreeNeeded_ = true;
    MeasureWalk walk{newWalkStamp(), 0};
    LayoutIndex subtree;
    measureTree(node, *table.nodeDictionary(), subtree.rows(), walk);
    LayoutIndex::trimRows(subtree.rows());
    setRowTops(subtree.rows(), level, height);
    for (LayoutRow& row : subtree.rows()) {
        row.markDirty(0, row.entries.size());
    }
    subtree.place(x);
    return subtree.rows().empty() ? 0 : subtree.rows()[0].entries[0].slotWidth;
}

void LanthorDocumentView::setRowTops(std::vector<LayoutRow>& rows, std::int32_t firstLevel,
                                     std::int32_t height) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::int32_t level = wrapToInt32(std::int64_t{firstLevel} + std::int64_t(i));
        rows[i].y = wrapToInt32(std::int64_t{level} * height + kTopRowY);
    }
}

void LanthorDocumentView::finishWholeLayout(const TreeTable& table, const MeasureWalk& walk,
                                            std::int32_t height) {
    // Views that this pass did not reach keep their frames, and are still shown there.
    if (walk.reached != subviewCount()) {
        for (const std::shared_ptr<View>& subview : subviews()) {
            if (auto* view = dynamic_cast<LanthorNodeView*>(subview.get());
                view && view->walkStamp_ != walk.stamp) {
                view->level_ = LanthorNodeView::kUnplaced;
                strays_.push_back(std::static_pointer_cast<LanthorNodeView>(subview));
            }
        }
    }
    indexValid_ = true;
    wholeTreeNeeded_ = false;
    clean_ = walk.clean;
    indexDictionary_ = table.nodeDictionary();
    indexHeight_ = height;
    indexGeneration_ = labelSettings().generation;
    moveLeaves();
    finishLayout();
}

void LanthorDocumentView::finishLayout() {
    changes_.clear();
    departures_ = 0;
    for (LayoutRow& row : index_.rows()) {
        if (row.heightsStale) {
            row.heightsStale = false;
            row.tallCount = 0;
            for (const LayoutEntry& entry : row.entries) {
                if (entry.view) {
                    row.addHeight(entry.view->frame().size.height);
                }
            }
        }
    }
    placedExtent_ = index_.extent();
    // Roofs and arrows follow every frame they touch; an attribute that changes asks for a
    // pass over the whole tree.
    if (const std::shared_ptr<TreeTable> table = mTreeTable()) {
        placeFigures(*table);
    }
}

std::shared_ptr<LanthorNodeView>
LanthorDocumentView::measureNode(const std::shared_ptr<Tree>& node,
                                 std::shared_ptr<LanthorNodeView> view) {
    const LabelSettings& settings = labelSettings();
    if (!view) {
        view = std::allocate_shared<LanthorNodeView>(NodeViewAllocator<LanthorNodeView>(), Rect{});
        view->setUnderlyingNode(node);
        view->setDrawsBackground(false);
        view->setEditable(false);
        view->setSelectable(false);
        node->setUiObject(view);
    }
    if (view->labelGeneration_ != settings.generation || view->labelRevision_ != node->revision() ||
        view->underlyingNode_ != node) {
        const LabelMetrics metrics = measureLabel(labelOf(*node, settings), settings);
        view->View::setFrameSize({metrics.width, metrics.textSize.height});
        view->textWidth_ = metrics.textSize.width;
        view->labelRevision_ = node->revision();
        view->labelGeneration_ = settings.generation;
    }
    view->tucked_ = false;
    return view;
}

void LanthorDocumentView::measureTree(const std::shared_ptr<Tree>& root,
                                      const NodeDictionary& dictionary,
                                      std::vector<LayoutRow>& rows, MeasureWalk& walk) {
    std::shared_ptr<LanthorNodeView> rootView = nodeViewOf(*root);
    if (rootView && rootView->walkStamp_ == walk.stamp) {
        return; // laid out already in this walk, below an earlier root
    }
    std::vector<PendingNode> path;
    // Children before parents: every node's label width and subtree width. A child that this
    // walk has reached before takes no space.
    const auto enter = [&](const std::shared_ptr<Tree>& node,
                           std::shared_ptr<LanthorNodeView> existing, std::size_t level) {
        std::shared_ptr<LanthorNodeView> measured = measureNode(node, std::move(existing));
        if (measured->superview() != this) {
            addSubview(measured);
        }
        LanthorNodeView& view = *measured;
        view.walkStamp_ = walk.stamp;
        view.level_ = static_cast<std::uint32_t>(walk.firstLevel + level);
        if (rows.size() < level + 2) {
            rows.resize(level + 2);
        }
        const auto firstChild = static_cast<std::uint32_t>(rows[level + 1].entries.size());
        LayoutRow& row = rows[level];
        row.entries.push_back({&view, 0, 0, 0, firstChild, 0});
        row.addHeight(view.frame().size.height);
        row.noteOverhang(view);
        path.push_back({&view, node.get(), level, row.entries.size() - 1});
        ++walk.reached;
    };
    enter(root, std::move(rootView), 0);
    while (!path.empty() && !walk.refused) {
        PendingNode& current = path.back();
        const std::vector<std::u16string>& children = current.node->childrenList();
        if (current.nextChild < children.size()) {
            const std::optional<std::size_t> position =
                dictionary.positionOf(children[current.nextChild++]);
            if (!position) {
                walk.clean = false; // a child that names no node takes no space
                continue;
            }
            const std::shared_ptr<Tree>& child = dictionary.nodeAt(*position);
            std::shared_ptr<LanthorNodeView> childView = nodeViewOf(*child);
            if (childView && childView->walkStamp_ == walk.stamp) {
                walk.clean = false;
                extraEdges_.emplace_back(nodeViewOf(*current.node), childView);
            } else if (walk.refusePlaced && childView && childView->superview() == this &&
                       childView->level_ != LanthorNodeView::kUnplaced) {
                walk.refused = true;
            } else {
                enter(child, std::move(childView), current.level + 1);
            }
            continue;
        }
        const double width = current.view->frame().size.width;
        LayoutEntry& entry = rows[current.level].entries[current.entry];
        entry.slotWidth = truncateToInt32(std::max(width, double(current.acc)));
        entry.childOffset = width > current.acc ? truncateToInt32((width - current.acc) * 0.5) : 0;
        const std::int32_t slotWidth = entry.slotWidth;
        path.pop_back();
        if (!path.empty()) {
            path.back().acc = wrapToInt32(std::int64_t{path.back().acc} + slotWidth);
        }
    }
}

void LanthorDocumentView::adjustWindowSize() {
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    for (const std::shared_ptr<View>& subview : subviews()) {
        const Rect frame = subview->frame();
        if (frame.maxX() > maxX) {
            maxX = truncateToInt32(frame.maxX());
        }
        if (frame.maxY() > maxY) {
            maxY = truncateToInt32(frame.maxY());
        }
    }
    setFrameSize({static_cast<double>(maxX), static_cast<double>(maxY)});
}

} // namespace lanthor
