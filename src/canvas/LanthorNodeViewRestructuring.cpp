// The node view's two commands that rearrange the tree: swap with the right sibling, and change
// of parent. They find and check the nodes, log, and leave the change itself to the table.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "base/Log.h"
#include "model/Tree.h"
#include "model/TreeTable.h"

#include <string>

namespace lanthor {

namespace {

constexpr std::string_view kCannotLocateParent = "Cannot locate parent node(s)";

} // namespace

std::optional<ChildMove> LanthorNodeView::swapNode() {
    LanthorDocumentView* const canvas = this->canvas();
    const std::shared_ptr<TreeTable> table = canvas ? canvas->mTreeTable() : nullptr;
    const std::shared_ptr<Tree> node = underlyingNode_;
    const std::shared_ptr<Tree> parent =
        table && node ? table->findParent(node->nodeNumber()) : nullptr;
    if (!parent) {
        logLine(kCannotLocateParent);
        return std::nullopt;
    }
    const std::u16string& number = node->nodeNumber();
    logLine(u"Moving Node " + number + u" to the right. Parent: " + parent->nodeNumber() +
            u". Sibling Count: " + toUtf16(std::to_string(parent->childrenList().size())));
    std::optional<ChildMove> move = table->moveRightAmongSiblings(*parent, number);
    if (move) {
        canvas->noteChanged(*parent);
    }
    parentRedraw();
    return move;
}

std::optional<ChildMove> LanthorNodeView::changeParent() {
    LanthorDocumentView* const canvas = this->canvas();
    const std::shared_ptr<TreeTable> table = canvas ? canvas->mTreeTable() : nullptr;
    const std::shared_ptr<Tree> node = underlyingNode_;
    const std::shared_ptr<Tree> parent =
        table && node ? table->findParent(node->nodeNumber()) : nullptr;
    // Asked in every case, also for a root, before anything is checked.
    const std::u16string answer = input(u"Select new Parent", parent ? parent->nodeNumber() : u"");
    const NodeDictionary* const nodes = table ? table->nodeDictionary() : nullptr;
    const std::shared_ptr<Tree> newParent = nodes ? nodes->find(answer) : nullptr;
    if (!parent || !newParent || table->isInSubtree(*node, answer)) {
        logLine(kCannotLocateParent);
        return std::nullopt;
    }
    logLine(u"Changing Parent Node :" + parent->nodeNumber() + u" to " + newParent->nodeNumber() +
            u")");

    std::optional<ChildMove> move = table->moveSubtree(node->nodeNumber(), *parent, *newParent);
    if (move) {
        canvas->noteChanged(*parent);
        canvas->noteChanged(*newParent);
    }
    return move;
}

} // namespace lanthor
