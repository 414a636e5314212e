// What a host that shows part of the canvas asks of it: a pass without drawing, the drawing of
// one area, and the node view under a point.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "platform/Painter.h"

#include <algorithm>
#include <cmath>

namespace lanthor {

namespace {

/// Takes the edge pass's lines and keeps none of them.
class DiscardingPainter final : public Painter {
public:
    void fillRect(Rect, Color) override {}
    void strokeLine(Point, Point, double, Color) override {}
    void strokePath(const Path&, double, Color) override {}
    void fillPath(const Path&, Color) override {}
    void drawText(const AttributedString&, Rect) override {}
};

} // namespace

bool LanthorDocumentView::layOutIfNeeded() {
    if (!updated_) {
        return false;
    }
    DiscardingPainter discard;
    drawRect(discard);
    return true;
}

void LanthorDocumentView::drawArea(Painter& painter, Rect area) const {
    forEachEdge([&](const Edge& edge) {
        const double reach = lineWidth(edge.bold);
        const Rect box{
            {std::min(edge.from.x, edge.to.x) - reach, std::min(edge.from.y, edge.to.y) - reach},
            {std::abs(edge.to.x - edge.from.x) + 2 * reach,
             std::abs(edge.to.y - edge.from.y) + 2 * reach}};
        if (box.intersects(area)) {
            painter.strokeLine(edge.from, edge.to, lineWidth(edge.bold), Color::black());
        }
    });
    for (const std::shared_ptr<View>& subview : subviews()) {
        const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get());
        if (nodeView && unionRect(nodeView->frame(), nodeView->textRect()).intersects(area)) {
            nodeView->drawRect(painter);
        }
    }
}

std::shared_ptr<LanthorNodeView> LanthorDocumentView::nodeViewAt(Point point) const {
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

} // namespace lanthor
