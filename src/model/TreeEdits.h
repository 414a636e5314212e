#pragma once

// What the table's changes did, kept so that each can be taken back exactly (and, for moves,
// done again). A record is valid only on the table in the state right after its change: undo
// and redo take changes back and do them again in order, which keeps it so.

#include "NodeDictionary.h"
#include "Tree.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lanthor {

/// A child entry moved: every entry of `number` was taken out of the children list of `from` (at
/// `removedAt`, ascending indexes into the list as it was), then one was put into the list of
/// `to` (the same node or another) at `insertedAt`, an index into the list as it became.
struct ChildMove {
    std::u16string number;
    std::u16string from;
    std::vector<std::size_t> removedAt;
    std::u16string to;
    std::size_t insertedAt = 0;
};

/// Nodes added at the end of the iteration order: `numbers` in that order, the tops first
/// among their subtrees; the first `topCount` entries appended to the list of `parent` name the
/// tops. Without a parent the tops are roots.
struct NodeInsertion {
    std::optional<std::u16string> parent;
    std::size_t topCount = 0;
    std::vector<std::u16string> numbers;
};

/// Entries taken out of one node's children list: each with its index in the list as it was,
/// ascending.
struct RemovedEntries {
    std::shared_ptr<Tree> owner;
    std::vector<std::pair<std::size_t, std::u16string>> entries;
};

/// What a deletion took out of the table: the children entries in the order it took them, and
/// the nodes themselves (their views let go) with their places in iteration order.
struct SubtreeRemoval {
    std::vector<RemovedEntries> entries;
    std::vector<RankedNode> nodes; ///< ascending rank

    /// True when the deletion changed nothing.
    bool empty() const { return entries.empty() && nodes.empty(); }
};

} // namespace lanthor
