// The two commands that rearrange the tree without creating or deleting nodes: swap with the
// right sibling, and change of parent. Both edit only the children lists of parents.

#include "LanthorNodeView.h"
#include "csv/Log.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "render/LanthorDocumentView.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

namespace lanthor {

namespace {

constexpr std::string_view kCannotLocateParent = "Cannot locate parent node(s)";

/// True when `target` is `top`'s own number or the number of a node below `top`. The walk uses
/// an explicit stack and visits each number once, so deep trees, cycles and children that name
/// no node all end.
bool isInSubtree(const Tree& top, std::u16string_view target, const NodeDictionary& nodes) {
    if (top.nodeNumber() == target) {
        return true;
    }
    std::unordered_set<std::u16string_view> visited{top.nodeNumber()};
    std::vector<const Tree*> pending{&top};
    while (!pending.empty()) {
        const Tree* node = pending.back();
        pending.pop_back();
        for (const std::u16string& child : node->childrenList()) {
            if (child == target) {
                return true;
            }
            if (!visited.insert(child).second) {
                continue;
            }
            // The table owns its nodes for the whole walk, so raw pointers stay valid.
            if (const std::shared_ptr<Tree> childNode = nodes.find(child)) {
                pending.push_back(childNode.get());
            }
        }
    }
    return false;
}

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
    std::vector<std::u16string>& siblings = parent->childrenList();
    logLine(u"Moving Node " + number + u" to the right. Parent: " + parent->nodeNumber() +
            u". Sibling Count: " + toUtf16(std::to_string(siblings.size())));

    const auto first = std::find(siblings.begin(), siblings.end(), number);
    const auto index = static_cast<std::size_t>(first - siblings.begin());
    std::u16string moved = std::move(*first);
    siblings.erase(first);
    bool changed = false;
    if (index < siblings.size()) {
        // Past the right neighbour, which is the entry that now sits at `index`.
        changed = siblings[index] != moved;
        siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                        std::move(moved));
    } else {
        // The last sibling wraps around to the front.
        changed = std::any_of(siblings.begin(), siblings.end(),
                              [&moved](const std::u16string& entry) { return entry != moved; });
        siblings.insert(siblings.begin(), std::move(moved));
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
    if (!parent || !newParent || isInSubtree(*node, answer, *nodes)) {
        logLine(kCannotLocateParent);
        return false;
    }
    logLine(u"Changing Parent Node :" + parent->nodeNumber() + u" to " + newParent->nodeNumber() +
            u")");

    const std::u16string& number = node->nodeNumber();
    std::vector<std::u16string>& oldSiblings = parent->childrenList();
    // A move within the same parent changes the tree only if it reorders the list or drops a
    // repeated entry: keep the list to compare.
    const std::vector<std::u16string> before =
        parent == newParent ? oldSiblings : std::vector<std::u16string>{};
    std::erase(oldSiblings, number);
    newParent->childrenList().push_back(number);
    return parent != newParent || oldSiblings != before;
}

} // namespace lanthor
