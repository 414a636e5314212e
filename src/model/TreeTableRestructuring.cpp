// The operations that rearrange the tree without creating or deleting nodes. They edit only the
// children lists of parents.

#include "Tree.h"
#include "TreeTable.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace lanthor {

bool TreeTable::isInSubtree(const Tree& top, std::u16string_view target) const {
    if (top.nodeNumber() == target) {
        return true;
    }
    // An explicit stack that visits each number once: deep trees, cycles and children that name
    // no node all end.
    std::unordered_set<std::u16string_view> visited{top.nodeNumber()};
    std::vector<const Tree*> pending{&top};
    while (!pending.empty()) {
        const Tree* node = pending.back();
        pending.pop_back();
        for (const std::u16string& child : node->childrenList()) {
            if (child == target) {
                return true;
            }
            if (!visited.insert(child).second || !nodeDictionary_) {
                continue;
            }
            // The table owns its nodes for the whole walk, so raw pointers stay valid.
            if (const std::shared_ptr<Tree> childNode = nodeDictionary_->find(child)) {
                pending.push_back(childNode.get());
            }
        }
    }
    return false;
}

bool TreeTable::moveRightAmongSiblings(Tree& parent, std::u16string_view number) {
    std::vector<std::u16string>& siblings = parent.childrenList();
    const auto first = std::find(siblings.begin(), siblings.end(), number);
    if (first == siblings.end()) {
        return false;
    }
    const auto index = static_cast<std::size_t>(first - siblings.begin());
    std::u16string moved = std::move(*first);
    siblings.erase(first);
    if (index < siblings.size()) {
        // Past the right neighbour, which is the entry that now sits at `index`.
        const bool changed = siblings[index] != moved;
        siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                        std::move(moved));
        return changed;
    }
    // The last sibling wraps around to the front.
    const bool changed =
        std::any_of(siblings.begin(), siblings.end(),
                    [&moved](const std::u16string& entry) { return entry != moved; });
    siblings.insert(siblings.begin(), std::move(moved));
    return changed;
}

bool TreeTable::moveSubtree(std::u16string_view number, Tree& parent, Tree& newParent) {
    std::vector<std::u16string>& oldSiblings = parent.childrenList();
    // A move within the same parent changes the tree only if it reorders the list or drops a
    // repeated entry: keep the list to compare.
    const std::vector<std::u16string> before =
        &parent == &newParent ? oldSiblings : std::vector<std::u16string>{};
    std::erase(oldSiblings, number);
    newParent.childrenList().emplace_back(number);
    return &parent != &newParent || oldSiblings != before;
}

} // namespace lanthor
