// The canvas's layout pass: one node view per node, rows by level, subtrees packed left to right
// and each parent centred over its children, in 32-bit integer arithmetic.

#include "LabelMarkup.h"
#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace lanthor {

namespace {

constexpr std::int32_t kRootX = 10;
constexpr std::int32_t kTopRowY = 30;

/// A node of the tree being laid out, while its children are.
struct PendingNode {
    LanthorNodeView* view;
    /// One per entry of its children list, null where the table has no such node.
    const std::vector<std::shared_ptr<Tree>>* children;
    std::size_t nextChild = 0;
    std::int32_t x = 0; ///< the left edge of its slot
    std::int32_t level = 0;
    std::int32_t acc = 0;       ///< measuring: the children's subtree widths so far
    std::int32_t childX = 0;    ///< placing: where the next child's slot starts
    std::int32_t count = 0;     ///< placing: the children placed so far
    std::int32_t centreSum = 0; ///< placing: their views' centres, truncated at each step
};

} // namespace

std::uint64_t LanthorDocumentView::labelSettingsGeneration() {
    // Unique across canvases, so that a view that moves to another canvas is not mistaken.
    static std::atomic<std::uint64_t> lastGeneration{0};
    const LanthorConfiguration& settings = configuration();
    if (!labelSettings_ || !(labelSettings_->font == settings.font()) ||
        labelSettings_->showNodeNumber != settings.showNodeNumber()) {
        labelSettings_ =
            LabelSettings{settings.font(), settings.showNodeNumber(), ++lastGeneration};
    }
    return labelSettings_->generation;
}

void LanthorDocumentView::drawAllNodes() {
    log(u"draw", u"nodes");
    const std::shared_ptr<TreeTable> table = mTreeTable();
    if (!table || !table->nodeDictionary()) {
        return;
    }
    const std::int32_t height = wrapToInt32(configuration().height());
    const std::uint32_t pass = LayoutMarks::newPass();
    std::int32_t x = kRootX;
    table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        if (node->realRoot()) {
            x = wrapToInt32(std::int64_t{x} + layOutTree(node, *table, x, 0, height, pass));
        }
    });
}

std::int32_t LanthorDocumentView::drawNode(const std::shared_ptr<Tree>& node,
                                           const TreeTable& table, std::int32_t x,
                                           std::int32_t level, std::int32_t height) {
    return layOutTree(node, table, x, level, height, LayoutMarks::newPass());
}

LanthorNodeView& LanthorDocumentView::measureNode(const std::shared_ptr<Tree>& owner,
                                                  std::uint64_t settingsGeneration) {
    Tree& node = *owner;
    const LanthorConfiguration& settings = configuration();
    std::shared_ptr<LanthorNodeView> view = nodeViewOf(node);
    if (view && view->labelCache().valid && view->underlyingNode().get() == &node &&
        view->labelCache().revision == node.revision() &&
        view->labelCache().settingsGeneration == settingsGeneration) {
        view->setFrameSize({view->labelCache().width, 0});
    } else {
        // Without node numbers the label is the node's text itself, used in place.
        const std::u16string numbered =
            settings.showNodeNumber() ? nodeLabel(node, true) : std::u16string();
        const std::u16string_view label =
            settings.showNodeNumber() ? std::u16string_view(numbered) : node.nodeValue();
        PreparedLabel prepared = prepareLabel(label);
        if (!view) {
            view =
                std::make_shared<LanthorNodeView>(Rect{{0, 0}, {prepared.width, 0}}, &textSystem_);
            view->setUnderlyingNode(owner);
            view->setDrawsBackground(false);
            view->setEditable(false);
            view->setSelectable(false);
            node.setUiObject(view);
        }
        view->setFrameSize({prepared.width, 0});
        if (prepared.text) {
            view->setTextStorage(std::move(*prepared.text));
        } else {
            view->setEmptyText(lineHeight());
        }
        view->setLabelCache({node.revision(), settingsGeneration, prepared.width, true});
    }
    if (view->superview() != this) {
        addSubview(view);
    }
    return *view;
}

std::int32_t LanthorDocumentView::layOutTree(const std::shared_ptr<Tree>& root,
                                             const TreeTable& table, std::int32_t x,
                                             std::int32_t level, std::int32_t height,
                                             std::uint32_t pass) {
    const std::uint32_t measured = 2 * pass;
    const std::uint32_t placed = 2 * pass + 1;
    if (const std::shared_ptr<LanthorNodeView> view = nodeViewOf(*root);
        view && view->layoutMarks().layoutStamp >= measured) {
        return 0; // laid out already in this pass, below an earlier root
    }
    const NodeDictionary* dictionary = table.nodeDictionary();
    const std::vector<std::shared_ptr<Tree>> noChildren;
    const auto childrenOf = [&](const Tree& node, LanthorNodeView& view) {
        return dictionary ? &lookUpChildren(node, *dictionary, view.childLookup()) : &noChildren;
    };
    std::vector<PendingNode> path;

    // Measuring, children before parents: every node's label width and subtree width. A child
    // that this pass has reached before takes no space.
    const std::uint64_t settingsGeneration = labelSettingsGeneration();
    const auto measure = [&](const std::shared_ptr<Tree>& node) {
        LanthorNodeView& view = measureNode(node, settingsGeneration);
        view.layoutMarks().layoutStamp = measured;
        path.push_back({&view, childrenOf(*node, view)});
    };
    measure(root);
    while (!path.empty()) {
        PendingNode& current = path.back();
        if (current.nextChild < current.children->size()) {
            const std::shared_ptr<Tree>& child = (*current.children)[current.nextChild++];
            const std::shared_ptr<LanthorNodeView> childView = child ? nodeViewOf(*child) : nullptr;
            if (child && !(childView && childView->layoutMarks().layoutStamp >= measured)) {
                measure(child);
            }
            continue;
        }
        LayoutMarks& marks = current.view->layoutMarks();
        marks.childrenWidth = current.acc;
        marks.subtreeWidth =
            truncateToInt32(std::max(current.view->frame().size.width, double(current.acc)));
        path.pop_back();
        if (!path.empty()) {
            path.back().acc = wrapToInt32(std::int64_t{path.back().acc} + marks.subtreeWidth);
        }
    }

    // Placing, in the same order: a child's slot starts where its previous sibling's ends, the
    // children together centred under a parent wider than they are; a parent over the mean of
    // its children's centres, within its own slot. The children placed are exactly those
    // measured above: the walk meets the nodes in the same order.
    const auto place = [&](LanthorNodeView& view, std::int32_t slotX, std::int32_t slotLevel,
                           const Tree& node) {
        LayoutMarks& marks = view.layoutMarks();
        marks.layoutStamp = placed;
        const double width = view.frame().size.width;
        const std::int32_t offset =
            width > marks.childrenWidth ? truncateToInt32((width - marks.childrenWidth) * 0.5) : 0;
        const double y = wrapToInt32(std::int64_t{slotLevel} * height + kTopRowY);
        view.setFrameOrigin({double(slotX), y});
        PendingNode pending{&view, childrenOf(node, view)};
        pending.x = slotX;
        pending.level = slotLevel;
        pending.childX = wrapToInt32(std::int64_t{slotX} + offset);
        path.push_back(pending);
    };
    place(*nodeViewOf(*root), x, level, *root);
    std::int32_t width = 0;
    while (!path.empty()) {
        PendingNode& current = path.back();
        if (current.nextChild < current.children->size()) {
            const std::shared_ptr<Tree>& child = (*current.children)[current.nextChild++];
            const std::shared_ptr<LanthorNodeView> childView = child ? nodeViewOf(*child) : nullptr;
            if (childView && childView->layoutMarks().layoutStamp == measured) {
                current.count = wrapToInt32(std::int64_t{current.count} + 1);
                place(*childView, current.childX, wrapToInt32(std::int64_t{current.level} + 1),
                      *child);
            }
            continue;
        }
        LanthorNodeView& view = *current.view;
        const Rect frame = view.frame();
        width = view.layoutMarks().subtreeWidth;
        if (current.count > 0) {
            const std::int32_t mean = current.centreSum / current.count;
            const double left =
                std::max(double(current.x), std::min(mean - frame.size.width * 0.5,
                                                     double(current.x) + width - frame.size.width));
            view.setFrameOrigin({left, frame.origin.y});
        }
        path.pop_back();
        if (!path.empty()) {
            PendingNode& parent = path.back();
            parent.childX = wrapToInt32(std::int64_t{parent.childX} + width);
            const Rect placedFrame = view.frame();
            const double centre = placedFrame.origin.x + placedFrame.size.width * 0.5;
            parent.centreSum = truncateToInt32(parent.centreSum + centre);
        }
    }
    return width;
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
