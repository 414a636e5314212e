// The canvas's layout pass: one node view per node, rows by level, subtrees packed left to right
// and each parent centred over its children, in 32-bit integer arithmetic.

#include "LabelMarkup.h"
#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "PathSet.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace lanthor {

namespace {

constexpr std::int32_t kRootX = 10;
constexpr std::int32_t kTopRowY = 30;

/// A node whose children are being laid out.
struct PendingNode {
    Tree* node;
    LanthorNodeView* view;
    /// One per entry of its children list, null where the table has no such node.
    const std::vector<std::shared_ptr<Tree>>* children;
    std::int32_t x;
    std::int32_t level;
    std::int32_t acc = 0;       ///< the children's subtree widths so far
    std::int32_t count = 0;     ///< the children found in the table so far
    std::int32_t centreSum = 0; ///< the sum of their views' centres, truncated at each step
    std::size_t nextChild = 0;
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
    table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        if (node->realRoot()) {
            drawNode(node, *table, kRootX, 0, height);
        }
    });
}

LanthorNodeView& LanthorDocumentView::placeNode(const std::shared_ptr<Tree>& owner, std::int32_t x,
                                                std::int32_t level, std::int32_t height,
                                                std::uint64_t settingsGeneration) {
    Tree& node = *owner;
    const LanthorConfiguration& settings = configuration();
    std::shared_ptr<LanthorNodeView> view = nodeViewOf(node);
    const bool cached = view && view->labelCache().valid && view->underlyingNode().get() == &node &&
                        view->labelCache().revision == node.revision() &&
                        view->labelCache().settingsGeneration == settingsGeneration;

    double width = 0;
    bool labelIsEmpty = false;
    PreparedLabel prepared;
    if (cached) {
        width = view->labelCache().width;
        labelIsEmpty = view->labelCache().labelIsEmpty;
    } else {
        // Without node numbers the label is the node's text itself, used in place.
        const std::u16string numbered =
            settings.showNodeNumber() ? nodeLabel(node, true) : std::u16string();
        const std::u16string_view label =
            settings.showNodeNumber() ? std::u16string_view(numbered) : node.nodeValue();
        prepared = prepareLabel(label);
        width = prepared.width;
        labelIsEmpty = label.empty();
    }

    const Point origin{static_cast<double>(x),
                       static_cast<double>(wrapToInt32(std::int64_t{level} * height + kTopRowY))};
    if (view) {
        view->setFrame({origin, labelIsEmpty ? Size{0, 0} : Size{width, 0}});
    } else {
        view = std::make_shared<LanthorNodeView>(Rect{origin, {width, 0}}, &textSystem_);
        view->setUnderlyingNode(owner);
        view->setDrawsBackground(false);
        view->setEditable(false);
        view->setSelectable(false);
        node.setUiObject(view);
    }

    if (!cached) {
        if (prepared.text) {
            view->setTextStorage(std::move(*prepared.text));
        }
        view->setLabelCache({node.revision(), settingsGeneration, width, labelIsEmpty, true});
    }
    if (view->superview() != this) {
        addSubview(view);
    }
    return *view;
}

std::int32_t LanthorDocumentView::drawNode(const std::shared_ptr<Tree>& node,
                                           const TreeTable& table, std::int32_t x,
                                           std::int32_t level, std::int32_t height) {
    const NodeDictionary* dictionary = table.nodeDictionary();
    const std::uint64_t settingsGeneration = labelSettingsGeneration();
    std::vector<PendingNode> path;
    PathSet onPath;
    const std::vector<std::shared_ptr<Tree>> noChildren;

    const auto enter = [&](const std::shared_ptr<Tree>& entered, std::int32_t enteredX,
                           std::int32_t enteredLevel) {
        LanthorNodeView& view =
            placeNode(entered, enteredX, enteredLevel, height, settingsGeneration);
        const std::vector<std::shared_ptr<Tree>>* children =
            dictionary ? &lookUpChildren(*entered, *dictionary, view.childLookup()) : &noChildren;
        path.push_back({entered.get(), &view, children, enteredX, enteredLevel});
        onPath.push(entered.get());
    };
    enter(node, x, level);

    std::int32_t width = 0;
    while (!path.empty()) {
        PendingNode& current = path.back();
        if (current.nextChild < current.children->size()) {
            const std::shared_ptr<Tree>& child = (*current.children)[current.nextChild++];
            if (!child || onPath.contains(child.get())) {
                continue; // no such node, or one that would make the walk go round a cycle
            }
            current.count = wrapToInt32(std::int64_t{current.count} + 1);
            enter(child, wrapToInt32(std::int64_t{current.x} + current.acc),
                  wrapToInt32(std::int64_t{current.level} + 1));
            continue;
        }

        // All children placed: centre over them and report the subtree's width.
        LanthorNodeView& view = *current.view;
        if (current.count > 0) {
            const std::int32_t mean = current.centreSum / current.count;
            view.setFrameOrigin({mean - view.frame().size.width * 0.5, view.frame().origin.y});
        }
        width = truncateToInt32(std::max(view.frame().size.width, double(current.acc)));
        onPath.pop();
        path.pop_back();

        if (!path.empty()) {
            PendingNode& parent = path.back();
            parent.acc = wrapToInt32(std::int64_t{parent.acc} + width);
            const Rect childFrame = view.frame();
            const double centre = childFrame.origin.x + childFrame.size.width * 0.5;
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
