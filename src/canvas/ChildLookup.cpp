#include "ChildLookup.h"

#include "model/NodeDictionary.h"

namespace lanthor {

namespace {

bool stillValid(const std::vector<std::u16string>& entries, const NodeDictionary& dictionary,
                const ChildLookup& lookup) {
    if (lookup.generation != dictionary.generation() || lookup.children.size() != entries.size()) {
        return false;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Tree* child = lookup.children[i].get();
        if (child ? child->nodeNumber() != entries[i] : dictionary.contains(entries[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

const std::vector<std::shared_ptr<Tree>>&
lookUpChildren(const Tree& node, const NodeDictionary& dictionary, ChildLookup& lookup) {
    const std::vector<std::u16string>& entries = node.childrenList();
    if (!stillValid(entries, dictionary, lookup)) {
        lookup.generation = dictionary.generation();
        lookup.children.clear();
        lookup.children.reserve(entries.size());
        for (const std::u16string& entry : entries) {
            lookup.children.push_back(dictionary.find(entry));
        }
    }
    return lookup.children;
}

} // namespace lanthor
