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

bool LanthorNodeView::swapNode() {
    LanthorDocumentView* const canvas = this->canvas();
    const std::shared_ptr<TreeTable> table = canvas ? canvas->mTreeTable() : nullptr;
    const std::shared_ptr<Tree> node = underlyingNode_;
    const std::shared_ptr<Tree> parent =
        table && node ? table->findParent(node->nodeNumber()) : nullptr;
    if (!parent) {
        logLine(kCannotLocateParent);
        return false;
    }
    const std::u16string& number = node->nodeNumber();
    logLine(u"Moving Node " + number + u" to the right. Parent: " + parent->nodeNumber() +
            u". Sibling Count: " + toUtf16(std::to_string(parent->childrenList().size())));
    const bool changed = table->moveRightAmongSiblings(*parent, number);
    if (changed) {
        canvas->noteChanged(*parent);
    }
    parentRedraw();
    return changed;
}

bool LanthorNodeView::changeParent() {
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
        return false;
    }
    logLine(u"Changing Parent Node :" + parent->nodeNumber() + u" to " + newParent->nodeNumber() +
            u")");

    const bool changed = table->moveSubtree(node->nodeNumber(), *parent, *newParent);
    if (changed) {
        canvas->noteChanged(*parent);
        canvas->noteChanged(*newParent);
    }
    return changed;
}

} // namespace lanthor
