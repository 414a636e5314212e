// The operations that rearrange the tree without creating or deleting nodes, and their undo.
// They edit only the children lists of parents.

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

std::optional<ChildMove> TreeTable::moveRightAmongSiblings(Tree& parent,
                                                           std::u16string_view number) {
    std::vector<std::u16string>& siblings = parent.childrenList();
    const auto first = std::find(siblings.begin(), siblings.end(), number);
    if (first == siblings.end()) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(first - siblings.begin());
    ChildMove move{*first, parent.nodeNumber(), {index}, parent.nodeNumber(), 0};
    siblings.erase(first);
    // Past the right neighbour, which is the entry that now sits at `index`; the last sibling
    // wraps around to the front.
    move.insertedAt = index < siblings.size() ? index + 1 : 0;
    const std::u16string& moved = move.number;
    const bool changed =
        index < siblings.size()
            ? siblings[index] != moved
            : std::any_of(siblings.begin(), siblings.end(),
                          [&moved](const std::u16string& entry) { return entry != moved; });
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(move.insertedAt), moved);
    if (!changed) {
        return std::nullopt;
    }
    return move;
}

std::optional<ChildMove> TreeTable::moveSubtree(std::u16string_view number, Tree& parent,
                                                Tree& newParent, std::size_t index) {
    ChildMove move{std::u16string(number), parent.nodeNumber(), {}, newParent.nodeNumber(), 0};
    std::vector<std::u16string>& oldSiblings = parent.childrenList();
    std::size_t kept = 0;
    for (std::size_t entry = 0; entry < oldSiblings.size(); ++entry) {
        if (oldSiblings[entry] == move.number) {
            move.removedAt.push_back(entry);
        } else {
            if (kept != entry) {
                oldSiblings[kept] = std::move(oldSiblings[entry]);
            }
            ++kept;
        }
    }
    oldSiblings.resize(kept);
    std::vector<std::u16string>& newSiblings = newParent.childrenList();
    move.insertedAt = std::min(index, newSiblings.size());
    newSiblings.insert(newSiblings.begin() + static_cast<std::ptrdiff_t>(move.insertedAt),
                       move.number);
    // Within one list, only a single entry put back where it was leaves the list as it was:
    // every other entry of the number has been taken out.
    if (&parent == &newParent && move.removedAt == std::vector<std::size_t>{move.insertedAt}) {
        return std::nullopt;
    }
    return move;
}

void TreeTable::moveBack(const ChildMove& move) {
    std::vector<std::u16string>& to = nodeDictionary_->find(move.to)->childrenList();
    to.erase(to.begin() + static_cast<std::ptrdiff_t>(move.insertedAt));
    std::vector<std::u16string>& from = nodeDictionary_->find(move.from)->childrenList();
    for (const std::size_t index : move.removedAt) {
        from.insert(from.begin() + static_cast<std::ptrdiff_t>(index), move.number);
    }
}

void TreeTable::moveAgain(const ChildMove& move) {
    std::vector<std::u16string>& from = nodeDictionary_->find(move.from)->childrenList();
    for (auto index = move.removedAt.rbegin(); index != move.removedAt.rend(); ++index) {
        from.erase(from.begin() + static_cast<std::ptrdiff_t>(*index));
    }
    std::vector<std::u16string>& to = nodeDictionary_->find(move.to)->childrenList();
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(move.insertedAt), move.number);
}

} // namespace lanthor
