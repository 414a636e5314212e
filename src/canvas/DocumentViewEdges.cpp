// The canvas's edge pass: a straight black line from each parent's view to each child's view.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"

#include <memory>
#include <unordered_set>
#include <vector>

namespace lanthor {

namespace {

/// Where the edges below a node start: the bottom centre of its view, or the top centre when
/// the node's text is empty.
Point edgeStart(const Tree& node, const Rect& frame) {
    const double bottom = node.nodeValue().empty() ? frame.origin.y : frame.maxY();
    return {frame.origin.x + frame.size.width * 0.5, bottom};
}

/// Where the edge into a node ends: the top centre of its view.
Point edgeEnd(const Rect& frame) {
    return {frame.origin.x + frame.size.width * 0.5, frame.origin.y};
}

struct PendingEdges {
    const Tree* node;
    Point start;
    const std::vector<std::u16string>* children;
    std::size_t nextChild = 0;
};

} // namespace

void LanthorDocumentView::drawAllEdges(Painter& painter) {
    log(u"draw", u"edges");
    const std::shared_ptr<TreeTable> table = mTreeTable();
    if (!table || !table->nodeDictionary()) {
        return;
    }
    forEachEdge([&](const Edge& edge) { drawPath(edge.from, edge.to, edge.bold, painter); });
    drawFigures(painter, std::nullopt);
}

void LanthorDocumentView::drawEdge(const Tree& node, const TreeTable& table, Painter& painter) {
    EdgeWalk walk{newWalkStamp(), {}};
    visitEdgesBelow(node, table, walk,
                    [&](const Edge& edge) { drawPath(edge.from, edge.to, edge.bold, painter); });
}

void LanthorDocumentView::drawPath(Point from, Point to, bool bold, Painter& painter) {
    painter.strokeLine(from, to, lineWidth(bold), Color::black());
}

void LanthorDocumentView::forEachEdge(const EdgeVisitor& visit) const {
    const std::shared_ptr<TreeTable> table = mTreeTable();
    if (!table || !table->nodeDictionary()) {
        return;
    }
    EdgeWalk walk{newWalkStamp(), {}};
    table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        if (node->realRoot()) {
            visitEdgesBelow(*node, *table, walk, visit);
        }
    });
}

bool LanthorDocumentView::EdgeWalk::enter(const Tree& node, LanthorNodeView* view) {
    if (!view) {
        return enteredWithoutView.insert(&node).second;
    }
    if (view->walkStamp_ == stamp) {
        return false;
    }
    view->walkStamp_ = stamp;
    return true;
}

void LanthorDocumentView::visitEdgesBelow(const Tree& top, const TreeTable& table, EdgeWalk& walk,
                                          const EdgeVisitor& visit) const {
    const NodeDictionary* dictionary = table.nodeDictionary();
    if (!dictionary) {
        return;
    }
    const std::shared_ptr<LanthorNodeView> topView = nodeViewOf(top);
    if (!walk.enter(top, topView.get())) {
        return; // below an earlier root already
    }
    const Rect topFrame = topView ? topView->frame() : Rect{};
    std::vector<PendingEdges> path{{&top, edgeStart(top, topFrame), &top.childrenList()}};
    while (!path.empty()) {
        PendingEdges& current = path.back();
        if (current.nextChild == current.children->size()) {
            path.pop_back();
            continue;
        }
        const std::optional<std::size_t> position =
            dictionary->positionOf((*current.children)[current.nextChild++]);
        if (!position) {
            continue;
        }
        const Tree* child = dictionary->nodeAt(*position).get();
        const std::shared_ptr<LanthorNodeView> childView = nodeViewOf(*child);
        const Rect childFrame = childView ? childView->frame() : Rect{};
        // A roof stands for the edges below its node; a tucked leaf has none.
        if (!current.node->attributes().has(NodeAttributes::kRoof) &&
            !(childView && childView->tucked_)) {
            visit(Edge{*current.node, *child, current.start, edgeEnd(childFrame), child->head()});
        }
        if (walk.enter(*child, childView.get())) {
            path.push_back({child, edgeStart(*child, childFrame), &child->childrenList()});
        }
    }
}

} // namespace lanthor
