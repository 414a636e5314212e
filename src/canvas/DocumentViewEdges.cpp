// The canvas's edge pass: a straight black line from each parent's view to each child's view.

#include "ChildLookup.h"
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
    const std::vector<std::shared_ptr<Tree>>* children;
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
}

void LanthorDocumentView::drawEdge(const Tree& node, const TreeTable& table, Painter& painter) {
    EdgeWalk walk{LayoutMarks::newPass(), {}};
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
    EdgeWalk walk{LayoutMarks::newPass(), {}};
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
    if (view->layoutMarks().edgePass == pass) {
        return false;
    }
    view->layoutMarks().edgePass = pass;
    return true;
}

void LanthorDocumentView::visitEdgesBelow(const Tree& top, const TreeTable& table, EdgeWalk& walk,
                                          const EdgeVisitor& visit) const {
    const NodeDictionary* dictionary = table.nodeDictionary();
    if (!dictionary) {
        return;
    }
    // A node without a view (not laid out) has its children looked up here, for this walk.
    std::vector<std::unique_ptr<ChildLookup>> lookedUpHere;
    const auto childrenOf = [&](const Tree& node, LanthorNodeView* view) {
        ChildLookup& lookup = view ? view->childLookup()
                                   : *lookedUpHere.emplace_back(std::make_unique<ChildLookup>());
        return &lookUpChildren(node, *dictionary, lookup);
    };

    const std::shared_ptr<LanthorNodeView> topView = nodeViewOf(top);
    if (!walk.enter(top, topView.get())) {
        return; // below an earlier root already
    }
    const Rect topFrame = topView ? topView->frame() : Rect{};
    std::vector<PendingEdges> path{
        {&top, edgeStart(top, topFrame), childrenOf(top, topView.get())}};
    while (!path.empty()) {
        PendingEdges& current = path.back();
        if (current.nextChild == current.children->size()) {
            path.pop_back();
            continue;
        }
        const Tree* child = (*current.children)[current.nextChild++].get();
        if (!child) {
            continue;
        }
        const std::shared_ptr<LanthorNodeView> childView = nodeViewOf(*child);
        const Rect childFrame = childView ? childView->frame() : Rect{};
        visit(Edge{*current.node, *child, current.start, edgeEnd(childFrame), child->head()});
        if (walk.enter(*child, childView.get())) {
            path.push_back(
                {child, edgeStart(*child, childFrame), childrenOf(*child, childView.get())});
        }
    }
}

} // namespace lanthor
