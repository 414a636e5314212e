// What a host that shows part of the canvas asks of it: a pass without drawing, the drawing of
// one area, the node views under a point or in an area and the extent of the drawing, each
// answered from the layout index in what the area holds.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "platform/Painter.h"

#include <algorithm>
#include <cmath>

namespace lanthor {

namespace {

/// The rectangle that holds a straight line of `width` points from `from` to `to`.
Rect lineBox(Point from, Point to, double width) {
    return {{std::min(from.x, to.x) - width, std::min(from.y, to.y) - width},
            {std::abs(to.x - from.x) + 2 * width, std::abs(to.y - from.y) + 2 * width}};
}

Rect extentOf(const LanthorNodeView& view) {
    return unionRect(view.frame(), view.textRect());
}

/// Puts views in the order of the canvas's subviews, the order they are drawn in.
void sortBySubviewOrder(std::vector<LanthorNodeView*>& views) {
    std::sort(views.begin(), views.end(), [](const LanthorNodeView* a, const LanthorNodeView* b) {
        return a->indexInSuperview() < b->indexInSuperview();
    });
}

} // namespace

bool LanthorDocumentView::layOutIfNeeded() {
    if (!updated_) {
        return false;
    }
    if (!mTreeTable()) {
        log(u"draw_error", u"nil tree");
        return true;
    }
    layOut();
    // drawArea draws the edges from the layout, area by area: the pass only says so.
    log(u"draw", u"edges");
    updated_ = false;
    return true;
}

std::vector<std::shared_ptr<LanthorNodeView>> LanthorDocumentView::strays() const {
    std::vector<std::shared_ptr<LanthorNodeView>> views;
    for (const std::weak_ptr<LanthorNodeView>& stray : strays_) {
        if (std::shared_ptr<LanthorNodeView> view = stray.lock();
            view && view->superview() == this && view->level_ == LanthorNodeView::kUnplaced) {
            views.push_back(std::move(view));
        }
    }
    return views;
}

void LanthorDocumentView::drawArea(Painter& painter, Rect area) const {
    if (!indexAnswers()) {
        forEachEdge([&](const Edge& edge) {
            if (lineBox(edge.from, edge.to, lineWidth(edge.bold)).intersects(area)) {
                painter.strokeLine(edge.from, edge.to, lineWidth(edge.bold), Color::black());
            }
        });
        drawFigures(painter, area);
        for (const std::shared_ptr<View>& subview : subviews()) {
            const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get());
            if (nodeView && extentOf(*nodeView).intersects(area)) {
                nodeView->drawRect(painter);
            }
        }
        return;
    }
    std::vector<LayoutIndex::Edge> edges;
    index_.edgesMeeting(area, edges);
    for (const LayoutIndex::Edge& edge : edges) {
        const std::shared_ptr<Tree>& parent = edge.parent->underlyingNode();
        if (parent && parent->attributes().has(NodeAttributes::kRoof)) {
            continue; // its roof is drawn instead
        }
        const std::shared_ptr<Tree>& child = edge.child->underlyingNode();
        const double width = lineWidth(child && child->head());
        painter.strokeLine(edge.from, edge.to, width, Color::black());
    }
    for (const auto& [parentView, childView] : extraEdges_) {
        const std::shared_ptr<LanthorNodeView> parent = parentView.lock();
        const std::shared_ptr<LanthorNodeView> child = childView.lock();
        if (!parent || !child || !parent->underlyingNode() || !child->underlyingNode() ||
            parent->underlyingNode()->attributes().has(NodeAttributes::kRoof)) {
            continue;
        }
        const Rect from = parent->frame();
        const Rect to = child->frame();
        const Point start{from.origin.x + from.size.width * 0.5,
                          parent->underlyingNode()->nodeValue().empty() ? from.minY()
                                                                        : from.maxY()};
        const Point end{to.origin.x + to.size.width * 0.5, to.minY()};
        const double width = lineWidth(child->underlyingNode()->head());
        if (lineBox(start, end, width).intersects(area)) {
            painter.strokeLine(start, end, width, Color::black());
        }
    }
    drawFigures(painter, area);
    std::vector<LanthorNodeView*> views;
    index_.viewsMeeting(area, views);
    for (const std::shared_ptr<LanthorNodeView>& stray : strays()) {
        if (extentOf(*stray).intersects(area)) {
            views.push_back(stray.get());
        }
    }
    sortBySubviewOrder(views);
    for (const LanthorNodeView* view : views) {
        drawNodeView(*view, painter);
    }
}

bool LanthorDocumentView::placedUnderAParent(const LanthorNodeView& view) const {
    // Also while a pass is pending: no change takes the parent away from a child that stays
    // (deleting the parent deletes the child, whose view then leaves the canvas), and none
    // makes a clean tree unclean (cycles are refused, pastes get fresh numbers).
    return clean_ && view.superview() == this && view.level_ != LanthorNodeView::kUnplaced &&
           view.level_ > 0;
}

std::shared_ptr<LanthorNodeView> LanthorDocumentView::nodeViewAt(Point point) const {
    if (!indexAnswers()) {
        const auto& views = subviews();
        // The view added last is drawn last, so it is the one on top.
        for (auto it = views.rbegin(); it != views.rend(); ++it) {
            auto nodeView = std::dynamic_pointer_cast<LanthorNodeView>(*it);
            if (nodeView && nodeView->frame().contains(point)) {
                return nodeView;
            }
        }
        return nullptr;
    }
    std::vector<LanthorNodeView*> views;
    index_.viewsAt(point, views);
    for (const std::shared_ptr<LanthorNodeView>& stray : strays()) {
        if (stray->frame().contains(point)) {
            views.push_back(stray.get());
        }
    }
    if (views.empty()) {
        return nullptr;
    }
    sortBySubviewOrder(views);
    return std::static_pointer_cast<LanthorNodeView>(views.back()->shared_from_this());
}

std::vector<std::shared_ptr<LanthorNodeView>>
LanthorDocumentView::nodeViewsMeeting(Rect area) const {
    std::vector<LanthorNodeView*> candidates;
    if (indexAnswers()) {
        index_.viewsMeeting(area, candidates);
        for (const std::shared_ptr<LanthorNodeView>& stray : strays()) {
            candidates.push_back(stray.get());
        }
        sortBySubviewOrder(candidates);
    } else {
        for (const std::shared_ptr<View>& subview : subviews()) {
            if (auto* nodeView = dynamic_cast<LanthorNodeView*>(subview.get())) {
                candidates.push_back(nodeView);
            }
        }
    }
    std::vector<std::shared_ptr<LanthorNodeView>> views;
    for (LanthorNodeView* view : candidates) {
        if (view->frame().intersects(area)) {
            views.push_back(std::static_pointer_cast<LanthorNodeView>(view->shared_from_this()));
        }
    }
    return views;
}

Rect LanthorDocumentView::drawingBounds() const {
    Rect extent = figuresExtent_ ? unionRect(bounds(), *figuresExtent_) : bounds();
    if (!indexAnswers()) {
        for (const std::shared_ptr<View>& subview : subviews()) {
            if (const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get())) {
                extent = unionRect(unionRect(extent, nodeView->frame()), nodeView->textRect());
            }
        }
        return extent;
    }
    if (placedExtent_) {
        extent = unionRect(extent, *placedExtent_);
    }
    for (const std::shared_ptr<LanthorNodeView>& stray : strays()) {
        extent = unionRect(unionRect(extent, stray->frame()), stray->textRect());
    }
    return extent;
}

} // namespace lanthor
