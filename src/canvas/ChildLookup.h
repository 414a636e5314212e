#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace lanthor {

class NodeDictionary;
class Tree;

/// The nodes that a children list named when it was last looked up in a map: one per entry,
/// null where the map had no such node.
struct ChildLookup {
    std::uint64_t generation = 0; ///< the map's generation at the time
    std::vector<std::shared_ptr<Tree>> children;
};

/// The nodes that `node`'s children list names in `dictionary`, taken from `lookup` while the
/// map is unchanged and each entry still names the node found for it, else looked up again and
/// kept in `lookup`. Every layout pass walks every children list twice (layout, then edges):
/// this spares the map lookups, which cost most of a pass on large trees.
const std::vector<std::shared_ptr<Tree>>&
lookUpChildren(const Tree& node, const NodeDictionary& dictionary, ChildLookup& lookup);

} // namespace lanthor
