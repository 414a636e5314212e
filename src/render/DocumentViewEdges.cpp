// The canvas's edge pass: a straight black line from each parent's view to each child's view.

#include "LanthorDocumentView.h"
#include "app/LanthorNodeView.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"

#include <unordered_set>
#include <vector>

namespace lanthor {

namespace {

Rect viewFrame(const Tree& node) {
    const std::shared_ptr<LanthorNodeView> view = node.uiObject();
    return view ? view->frame() : Rect{};
}

/// Where the edges below a node start: the bottom centre of its view, or the top centre when
/// the node's text is empty.
Point edgeStart(const Tree& node) {
    const Rect frame = viewFrame(node);
    const double bottom = node.nodeValue().empty() ? frame.origin.y : frame.maxY();
    return {frame.origin.x + frame.size.width * 0.5, bottom};
}

/// Where the edge into a node ends: the top centre of its view.
Point edgeEnd(const Tree& node) {
    const Rect frame = viewFrame(node);
    return {frame.origin.x + frame.size.width * 0.5, frame.origin.y};
}

struct PendingEdges {
    const Tree* node;
    Point start;
    std::size_t nextChild = 0;
};

} // namespace

void LanthorDocumentView::drawAllEdges(Painter& painter) {
    log(u"draw", u"edges");
    const std::shared_ptr<TreeTable> table = mTreeTable();
    if (!table || !table->nodeDictionary()) {
        return;
    }
    table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        if (node->realRoot()) {
            drawEdge(*node, *table, painter);
        }
    });
}

void LanthorDocumentView::drawEdge(const Tree& node, const TreeTable& table, Painter& painter) {
    visitEdgesBelow(node, table,
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
    table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        if (node->realRoot()) {
            visitEdgesBelow(*node, *table, visit);
        }
    });
}

void LanthorDocumentView::visitEdgesBelow(const Tree& top, const TreeTable& table,
                                          const EdgeVisitor& visit) const {
    const NodeDictionary* dictionary = table.nodeDictionary();
    if (!dictionary) {
        return;
    }
    std::vector<PendingEdges> path{{&top, edgeStart(top)}};
    std::unordered_set<const Tree*> onPath{&top};
    while (!path.empty()) {
        PendingEdges& current = path.back();
        const std::vector<std::u16string>& children = current.node->childrenList();
        if (current.nextChild == children.size()) {
            onPath.erase(current.node);
            path.pop_back();
            continue;
        }
        const std::shared_ptr<Tree> child = dictionary->find(children[current.nextChild++]);
        if (!child) {
            continue;
        }
        visit(Edge{*current.node, *child, current.start, edgeEnd(*child), child->head()});
        if (onPath.insert(child.get()).second) {
            path.push_back({child.get(), edgeStart(*child)});
        }
    }
}

} // namespace lanthor
