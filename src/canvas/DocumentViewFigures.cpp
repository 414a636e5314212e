// What the canvas draws beside nodes and edges: leaves moved as the leaf settings ask, the
// triangles of roofed nodes and the movement arrows, all placed from the frames a pass has set.

#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"

#include <algorithm>

namespace lanthor {

namespace {

Rect roofBox(const LanthorDocumentView::Roof& roof) {
    Path outline(roof.from);
    outline.lineTo(roof.left);
    outline.lineTo(roof.right);
    return outline.controlBounds();
}

Rect arrowBox(const ArrowRoute& route) {
    return unionRect(route.curve.controlBounds(), route.head.controlBounds());
}

/// Widens a box by how far a line reaches past its ends.
Rect withLineReach(Rect box) {
    const double reach = LayoutIndex::kLineReach;
    return {{box.origin.x - reach, box.origin.y - reach},
            {box.size.width + 2 * reach, box.size.height + 2 * reach}};
}

} // namespace

bool LanthorDocumentView::leavesMoved() const {
    return configuration().alignLeaves() || configuration().tuckLeaves();
}

void LanthorDocumentView::moveLeaves() {
    std::vector<LayoutRow>& rows = index_.rows();
    if (!leavesMoved() || rows.empty()) {
        return;
    }
    // First the tucked leaves; the bottom row is the lowest that holds another leaf.
    std::vector<LanthorNodeView*> aligned;
    double bottom = rows.front().y;
    for (std::size_t level = 0; level < rows.size(); ++level) {
        for (std::size_t i = 0; i < rows[level].entries.size(); ++i) {
            const LayoutEntry& entry = rows[level].entries[i];
            if (!entry.view || index_.childEnd(level, i) != entry.firstChild) {
                continue; // not a leaf
            }
            LanthorNodeView& leaf = *entry.view;
            if (configuration().tuckLeaves() && level > 0) {
                const std::size_t parent = index_.parentOf(level, i);
                const LayoutEntry& parentEntry = rows[level - 1].entries[parent];
                // Under a roof the word keeps its row: the triangle needs the room.
                const Tree* parentNode =
                    parentEntry.view ? parentEntry.view->underlyingNode().get() : nullptr;
                if (parentNode && !parentNode->attributes().has(NodeAttributes::kRoof) &&
                    parentEntry.firstChild == i && index_.childEnd(level - 1, parent) == i + 1) {
                    leaf.tucked_ = true;
                    leaf.setFrameOrigin({leaf.frame().origin.x, parentEntry.view->frame().maxY()});
                    continue;
                }
            }
            aligned.push_back(&leaf);
            bottom = std::max(bottom, rows[level].y);
        }
    }
    if (configuration().alignLeaves()) {
        for (LanthorNodeView* leaf : aligned) {
            leaf->setFrameOrigin({leaf->frame().origin.x, bottom});
        }
    }
    // The rows no longer hold every frame at their own height: the areas are asked of the
    // views themselves, and every pass lays out the whole tree while leaves are moved.
    indexValid_ = false;
}

void LanthorDocumentView::placeFigures(const TreeTable& table) {
    roofs_.clear();
    arrows_.clear();
    figuresExtent_.reset();
    const NodeDictionary* dictionary = table.nodeDictionary();
    if (!dictionary) {
        return;
    }
    const auto placed = [this](const LanthorNodeView* view) {
        return view && view->superview() == this && view->level_ != LanthorNodeView::kUnplaced;
    };
    const auto placedView = [&](std::u16string_view number) -> LanthorNodeView* {
        const std::optional<std::size_t> position = dictionary->positionOf(number);
        if (!position) {
            return nullptr;
        }
        LanthorNodeView* view = nodeViewOf(*dictionary->nodeAt(*position)).get();
        return placed(view) ? view : nullptr;
    };
    std::vector<MovementArrows::Ends> ends;
    std::vector<std::pair<std::u16string, std::u16string>> arrowEnds;
    // One look at every node's attributes: a pointer each for nodes without any.
    dictionary->forEach([&](const std::shared_ptr<Tree>& node) {
        const NodeAttributes& attributes = node->attributes();
        if (attributes.empty()) {
            return;
        }
        const LanthorNodeView* view = nodeViewOf(*node).get();
        if (!placed(view)) {
            return;
        }
        if (attributes.has(NodeAttributes::kRoof)) {
            const Rect frame = view->frame();
            std::optional<Rect> children;
            for (const std::u16string& child : node->childrenList()) {
                if (const LanthorNodeView* childView = placedView(child)) {
                    children =
                        children ? unionRect(*children, childView->frame()) : childView->frame();
                }
            }
            if (children) {
                const double startY = node->nodeValue().empty() ? frame.minY() : frame.maxY();
                roofs_.push_back({node->nodeNumber(),
                                  {frame.origin.x + frame.size.width * 0.5, startY},
                                  {children->minX(), children->minY()},
                                  {children->maxX(), children->minY()}});
            }
        }
        for (const std::u16string& target : attributes.values(NodeAttributes::kArrow)) {
            if (const LanthorNodeView* targetView = placedView(target)) {
                ends.push_back({view->frame(), targetView->frame()});
                arrowEnds.emplace_back(node->nodeNumber(), target);
            }
        }
    });
    const std::vector<ArrowRoute> routes = MovementArrows::route(
        ends, [this](double left, double right) { return lowestBottom(left, right); });
    for (std::size_t i = 0; i < routes.size(); ++i) {
        arrows_.push_back(
            {std::move(arrowEnds[i].first), std::move(arrowEnds[i].second), routes[i]});
    }
    const auto extend = [this](Rect box) {
        figuresExtent_ = figuresExtent_ ? unionRect(*figuresExtent_, box) : box;
    };
    for (const Roof& roof : roofs_) {
        extend(withLineReach(roofBox(roof)));
    }
    for (const Arrow& arrow : arrows_) {
        extend(withLineReach(arrowBox(arrow.route)));
    }
}

std::optional<double> LanthorDocumentView::lowestBottom(double left, double right) const {
    std::optional<double> lowest;
    const auto take = [&](const Rect& frame) {
        if (frame.maxX() >= left && frame.minX() <= right) {
            lowest = std::max(lowest.value_or(frame.maxY()), frame.maxY());
        }
    };
    if (!indexAnswers()) {
        for (const std::shared_ptr<View>& subview : subviews()) {
            if (const auto* view = dynamic_cast<const LanthorNodeView*>(subview.get())) {
                take(view->frame());
            }
        }
        return lowest;
    }
    // A frame lies inside its slot but for less than a point: a binary search per row.
    for (const LayoutRow& row : index_.rows()) {
        auto it = std::partition_point(row.entries.begin(), row.entries.end(),
                                       [left](const LayoutEntry& entry) {
                                           return double(entry.slotX) + entry.slotWidth + 1 < left;
                                       });
        for (; it != row.entries.end() && double(it->slotX) - 1 <= right; ++it) {
            if (it->view) {
                take(it->view->frame());
            }
        }
    }
    return lowest;
}

void LanthorDocumentView::drawFigures(Painter& painter, std::optional<Rect> area) const {
    for (const Roof& roof : roofs_) {
        if (!area || withLineReach(roofBox(roof)).intersects(*area)) {
            Path outline(roof.from);
            outline.lineTo(roof.left);
            outline.lineTo(roof.right);
            outline.close();
            painter.strokePath(outline, lineWidth(false), Color::black());
        }
    }
    for (const Arrow& arrow : arrows_) {
        if (!area || withLineReach(arrowBox(arrow.route)).intersects(*area)) {
            painter.strokePath(arrow.route.curve, MovementArrows::kLineWidth, Color::black());
            painter.fillPath(arrow.route.head, Color::black());
        }
    }
}

} // namespace lanthor
