#include "NodeDropFinder.h"

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace lanthor {

namespace {

/// How high the first search for the row under the pointer reaches, in points.
constexpr double kProbeHeight = 0.01;

std::size_t positionIn(const std::vector<std::u16string>& list, const std::u16string& number) {
    return static_cast<std::size_t>(std::find(list.begin(), list.end(), number) - list.begin());
}

} // namespace

NodeDropFinder::NodeDropFinder(const LanthorDocumentView& canvas,
                               std::shared_ptr<const TreeTable> table, std::u16string dragged)
    : canvas_(canvas), table_(std::move(table)), dragged_(std::move(dragged)) {}

const Tree* NodeDropFinder::parentOf(const LanthorNodeView& view) {
    const Tree* node = view.underlyingNode().get();
    if (!node) {
        return nullptr;
    }
    auto [found, added] = parents_.try_emplace(node);
    if (added) {
        found->second = table_->findParent(node->nodeNumber());
    }
    return found->second.get();
}

NodeDrop NodeDropFinder::between(const Tree& parent, std::size_t gap, double x, Rect left,
                                 Rect right) const {
    const std::vector<std::u16string>& children = parent.childrenList();
    std::size_t index = gap;
    // Among its own siblings the node leaves its place first.
    if (const std::size_t place = positionIn(children, dragged_);
        place < children.size() && gap > place) {
        --index;
    }
    const double top = std::min(left.minY(), right.minY());
    const double bottom = std::max(left.maxY(), right.maxY());
    return {NodeDrop::Kind::Between,
            parent.nodeNumber(),
            index,
            {{x, top}, {0, bottom - top}},
            std::nullopt};
}

std::optional<NodeDrop> NodeDropFinder::dropAt(Point point, double reach) {
    if (const std::shared_ptr<LanthorNodeView> target = canvas_.nodeViewAt(point);
        target && target->underlyingNode()) {
        return NodeDrop{NodeDrop::Kind::Onto, target->underlyingNode()->nodeNumber(),
                        std::numeric_limits<std::size_t>::max(), target->frame(), std::nullopt};
    }
    const auto probe =
        canvas_.nodeViewsMeeting({{point.x - reach, point.y}, {2 * reach, kProbeHeight}});
    if (probe.empty()) {
        return std::nullopt;
    }
    // A row's frames share their top: the whole row from there down to the pointer, short
    // frames that end above it included.
    const double rowTop = probe.front()->frame().minY();
    std::shared_ptr<LanthorNodeView> left;
    std::shared_ptr<LanthorNodeView> right;
    for (const std::shared_ptr<LanthorNodeView>& view : canvas_.nodeViewsMeeting(
             {{point.x - reach, rowTop}, {2 * reach, point.y - rowTop + kProbeHeight}})) {
        const Rect frame = view->frame();
        if (frame.minY() != rowTop || !view->underlyingNode()) {
            continue;
        }
        if (frame.maxX() <= point.x && (!left || frame.maxX() > left->frame().maxX())) {
            left = view;
        } else if (frame.minX() >= point.x && (!right || frame.minX() < right->frame().minX())) {
            right = view;
        }
    }
    const Tree* leftParent = left ? parentOf(*left) : nullptr;
    if (leftParent) {
        const std::vector<std::u16string>& siblings = leftParent->childrenList();
        const std::size_t place = positionIn(siblings, left->underlyingNode()->nodeNumber());
        const Rect leftFrame = left->frame();
        if (right && place + 1 < siblings.size() &&
            siblings[place + 1] == right->underlyingNode()->nodeNumber()) {
            const Rect rightFrame = right->frame();
            return between(*leftParent, place + 1, (leftFrame.maxX() + rightFrame.minX()) / 2,
                           leftFrame, rightFrame);
        }
        if (place + 1 == siblings.size() && point.x - leftFrame.maxX() <= kEndReach) {
            return between(*leftParent, siblings.size(), leftFrame.maxX() + kEndReach / 2,
                           leftFrame, leftFrame);
        }
    }
    const Tree* rightParent = right ? parentOf(*right) : nullptr;
    if (rightParent && !rightParent->childrenList().empty() &&
        rightParent->childrenList().front() == right->underlyingNode()->nodeNumber() &&
        right->frame().minX() - point.x <= kEndReach) {
        const Rect rightFrame = right->frame();
        return between(*rightParent, 0, rightFrame.minX() - kEndReach / 2, rightFrame, rightFrame);
    }
    return std::nullopt;
}

} // namespace lanthor
