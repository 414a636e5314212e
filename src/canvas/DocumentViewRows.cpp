// The layout pass over a clean tree, row by row: every children list looked up at once, the
// rows found breadth first, each row's views made and measured together, the subtree widths
// summed bottom up. It gives the rows that the walk (measureTree) gives, faster: the lookups
// overlap, each row is sized before it is filled, and a row's views lie together in memory,
// where later passes that place them find them.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "model/NodeDictionary.h"

#include <algorithm>

namespace lanthor {

namespace {

constexpr std::uint32_t kNoNode = UINT32_MAX;

/// Every node's children as positions in the dictionary (kNoNode for a child that names no
/// node), looked up in batches whose memory accesses overlap.
struct AllChildren {
    std::vector<std::uint32_t> first; ///< per position where its children start, and the end
    std::vector<std::uint32_t> children;
};

AllChildren lookUpAllChildren(const NodeDictionary& dictionary) {
    constexpr std::size_t kBatch = 1 << 15;
    AllChildren all;
    const std::size_t count = dictionary.positionCount();
    all.first.reserve(count + 1);
    std::vector<std::u16string_view> batch;
    batch.reserve(kBatch);
    const auto lookUp = [&] {
        for (const std::size_t position : dictionary.positionsOf(batch)) {
            all.children.push_back(
                position == NodeDictionary::npos ? kNoNode : static_cast<std::uint32_t>(position));
        }
        batch.clear();
    };
    for (std::size_t position = 0; position < count; ++position) {
        all.first.push_back(static_cast<std::uint32_t>(all.children.size() + batch.size()));
        if (const std::shared_ptr<Tree>& node = dictionary.nodeAt(position)) {
            batch.insert(batch.end(), node->childrenList().begin(), node->childrenList().end());
        }
        if (batch.size() >= kBatch) {
            lookUp();
        }
    }
    lookUp();
    all.first.push_back(static_cast<std::uint32_t>(all.children.size()));
    return all;
}

/// The rows of a clean tree as positions in the dictionary, breadth first, with the first child
/// of each; false when a child names no node or a node is reached twice (listed twice, or a
/// cycle), where the walk's rules apply instead. Each parent's children come after those of
/// the parents left of it, which is the walk's order too while no node is reached twice.
bool findRows(const NodeDictionary& dictionary, std::vector<std::vector<std::uint32_t>>& levels,
              std::vector<std::vector<std::uint32_t>>& firstChildren) {
    const AllChildren all = lookUpAllChildren(dictionary);
    std::vector<bool> reached(dictionary.positionCount(), false);
    levels.resize(1);
    for (std::size_t position = 0; position < dictionary.positionCount(); ++position) {
        if (const std::shared_ptr<Tree>& node = dictionary.nodeAt(position);
            node && node->realRoot()) {
            reached[position] = true;
            levels[0].push_back(static_cast<std::uint32_t>(position));
        }
    }
    for (std::size_t level = 0; !levels[level].empty(); ++level) {
        std::size_t listed = 0;
        for (const std::uint32_t position : levels[level]) {
            listed += all.first[position + 1] - all.first[position];
        }
        std::vector<std::uint32_t> next;
        next.reserve(listed);
        std::vector<std::uint32_t>& first = firstChildren.emplace_back();
        first.reserve(levels[level].size());
        for (const std::uint32_t position : levels[level]) {
            first.push_back(static_cast<std::uint32_t>(next.size()));
            for (std::uint32_t i = all.first[position]; i < all.first[position + 1]; ++i) {
                const std::uint32_t child = all.children[i];
                if (child == kNoNode || reached[child]) {
                    return false;
                }
                reached[child] = true;
                next.push_back(child);
            }
        }
        levels.push_back(std::move(next));
    }
    levels.pop_back();
    return true;
}

} // namespace

bool LanthorDocumentView::layOutCleanTree(const NodeDictionary& dictionary,
                                          std::vector<LayoutRow>& rows, MeasureWalk& walk) {
    std::vector<std::vector<std::uint32_t>> levels;
    std::vector<std::vector<std::uint32_t>> firstChildren;
    if (!findRows(dictionary, levels, firstChildren)) {
        return false;
    }
    std::size_t count = 0;
    for (const std::vector<std::uint32_t>& level : levels) {
        count += level.size();
    }
    // New views are kept here, in row order, until they join the canvas.
    std::vector<std::shared_ptr<LanthorNodeView>> made;
    made.reserve(count);
    std::vector<std::size_t> rowStart;
    rows.resize(levels.size());
    for (std::size_t level = 0; level < levels.size(); ++level) {
        LayoutRow& row = rows[level];
        row.entries.reserve(levels[level].size());
        rowStart.push_back(made.size());
        for (std::size_t i = 0; i < levels[level].size(); ++i) {
            const std::shared_ptr<Tree>& node = dictionary.nodeAt(levels[level][i]);
            std::shared_ptr<LanthorNodeView> measured = measureNode(node, nodeViewOf(*node));
            LanthorNodeView& view = *measured;
            made.push_back(view.superview() == this ? nullptr : std::move(measured));
            view.walkStamp_ = walk.stamp;
            view.level_ = static_cast<std::uint32_t>(level);
            row.entries.push_back({&view, 0, 0, 0, firstChildren[level][i], 0});
            row.addHeight(view.frame().size.height);
            row.noteOverhang(view);
        }
        walk.reached += row.entries.size();
        levels[level] = {};
        firstChildren[level] = {};
    }
    // Subtree widths, children before parents.
    for (std::size_t level = rows.size(); level-- > 0;) {
        std::vector<LayoutEntry>& entries = rows[level].entries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::size_t end = i + 1 < entries.size()    ? entries[i + 1].firstChild
                                    : level + 1 < rows.size() ? rows[level + 1].entries.size()
                                                              : 0;
            std::int32_t childrenWidth = 0;
            for (std::size_t j = entries[i].firstChild; j < end; ++j) {
                childrenWidth =
                    wrapToInt32(std::int64_t{childrenWidth} + rows[level + 1].entries[j].slotWidth);
            }
            const double width = entries[i].view->frame().size.width;
            entries[i].slotWidth = truncateToInt32(std::max(width, double(childrenWidth)));
            entries[i].childOffset =
                width > childrenWidth ? truncateToInt32((width - childrenWidth) * 0.5) : 0;
        }
    }
    // The views join the canvas in the order the walk reaches them: depth first. The room to
    // spare spares the first added node a copy of the whole list.
    const std::size_t views = subviews().size() + walk.reached;
    reserveSubviews(views + views / 16);
    struct Run {
        std::size_t level;
        std::size_t next;
        std::size_t end;
    };
    std::vector<Run> path;
    if (!rows.empty()) {
        path.push_back({0, 0, rows[0].entries.size()});
    }
    while (!path.empty()) {
        Run& run = path.back();
        if (run.next == run.end) {
            path.pop_back();
            continue;
        }
        const std::size_t level = run.level;
        const std::vector<LayoutEntry>& entries = rows[level].entries;
        const std::size_t i = run.next++;
        if (std::shared_ptr<LanthorNodeView>& view = made[rowStart[level] + i]) {
            addSubview(std::move(view));
        }
        if (level + 1 < rows.size()) {
            const std::size_t end =
                i + 1 < entries.size() ? entries[i + 1].firstChild : rows[level + 1].entries.size();
            if (entries[i].firstChild < end) {
                path.push_back({level + 1, entries[i].firstChild, end});
            }
        }
    }
    return true;
}

} // namespace lanthor
