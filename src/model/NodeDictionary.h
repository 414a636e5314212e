#pragma once

#include "Tree.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace lanthor {

/// A node with its place in a map's iteration order: `rank` nodes come before it.
struct RankedNode {
    std::size_t rank;
    std::shared_ptr<Tree> node;
};

/// The table's map from node number to node. It iterates in the order in which nodes were
/// stored, a replaced node taking the last place, so that opening and saving an unchanged file
/// gives the same rows in the same order.
///
/// Each node has a position; removing a node leaves a gap until `compact` runs, so a caller may
/// hold positions across removals (the table's subtree deletion does). Numbers are found through
/// an open-addressing index of positions, which keeps a large map compact; an entry whose node
/// was removed stays in the index, passed over by lookups, until the index is next rebuilt.
class NodeDictionary {
public:
    static constexpr std::size_t npos = SIZE_MAX;

    /// The node stored under `number`, or null.
    std::shared_ptr<Tree> find(std::u16string_view number) const;
    bool contains(std::u16string_view number) const { return positionOf(number).has_value(); }
    /// Stores `node` under its number, replacing any node stored there before. The number must
    /// not change while the node is stored.
    void insert(std::shared_ptr<Tree> node);
    /// Stores the nodes in order, as `insert` would one by one, but faster for many.
    void insertAll(std::vector<std::shared_ptr<Tree>> nodes);
    /// Removes the node stored under `number`, if any; positions stay valid.
    void erase(std::u16string_view number);
    /// Removes the node at `position`, if any; positions stay valid.
    void eraseAt(std::size_t position);
    std::size_t size() const { return count_; }
    /// Changes with every insert and removal, and differs between any two maps, so that what was
    /// looked up in a map can be known to be still valid without looking it up again.
    std::uint64_t generation() const { return generation_; }
    bool empty() const { return count_ == 0; }

    /// Calls `visit` with every node, in iteration order. `visit` must not change the map.
    template <typename Visit> void forEach(Visit&& visit) const {
        for (const auto& node : slots_) {
            if (node) {
                visit(node);
            }
        }
    }
    /// The first node, in iteration order, for which `match` returns true; or null.
    template <typename Match> std::shared_ptr<Tree> findFirst(Match&& match) const {
        for (const auto& node : slots_) {
            if (node && match(*node)) {
                return node;
            }
        }
        return nullptr;
    }

    /// Positions: 0 to positionCount() - 1 in iteration order, gaps included.
    std::size_t positionCount() const { return slots_.size(); }
    /// The position of the node stored under `number`, if any.
    std::optional<std::size_t> positionOf(std::u16string_view number) const;
    /// The positions of many numbers (npos for a number that names no node), their memory
    /// accesses overlapped: much faster than one by one for large batches.
    std::vector<std::size_t> positionsOf(const std::vector<std::u16string_view>& numbers) const;
    /// The node at `position`, or null for a gap.
    const std::shared_ptr<Tree>& nodeAt(std::size_t position) const { return slots_[position]; }
    /// The places in iteration order that nodes had before they were just removed from their
    /// positions (no compaction since), sorted by rank: what `restore` takes. Linear in the
    /// positions up to the last of them.
    std::vector<RankedNode>
    rankRemoved(std::vector<std::pair<std::size_t, std::shared_ptr<Tree>>> removed) const;
    /// Puts removed nodes back, each at its rank in iteration order (counted with all of them
    /// back), under numbers not stored meanwhile: the exact inverse of their removal. Closes the
    /// gaps, so positions change; linear in the map.
    void restore(std::vector<RankedNode> nodes);
    /// Closes the gaps left by removals; positions change.
    void compact();
    /// Compacts when gaps outnumber the nodes, so that gaps cost at most linear time overall.
    void compactIfSparse();

private:
    /// 32 bits each keep the index at 8 bytes a node; the map holds fewer than 2^32 positions.
    static constexpr std::uint32_t kFree = UINT32_MAX;
    struct IndexEntry {
        std::uint32_t hash = 0;
        std::uint32_t position = kFree; ///< kFree: free; a gap: a removed node, passed over
    };

    static std::uint32_t hashOf(std::u16string_view number);
    /// Makes sure that `extra` more positions fit in an index entry.
    void reservePositions(std::size_t extra);
    /// The entry that holds the node stored under `number`, or the free entry where it would go.
    std::size_t probe(std::u16string_view number, std::uint32_t hash) const;
    void prefetchEntry(std::uint32_t hash) const;
    /// Makes room for `extra` more entries, rebuilding the index when it would be too full.
    void reserveEntries(std::size_t extra);
    void rebuildIndex(std::size_t nodeCount);
    /// Indexes the node at `position`, after every indexed one, under its number; a node stored
    /// under the same number before leaves its position.
    void place(std::size_t position, std::uint32_t hash);

    std::vector<std::shared_ptr<Tree>> slots_;
    std::vector<IndexEntry> index_; ///< linear probing; its size is zero or a power of two
    static std::uint64_t nextGeneration();

    std::size_t count_ = 0; ///< nodes stored
    std::uint64_t generation_ = nextGeneration();
    std::size_t usedEntries_ = 0; ///< index entries not free, removed nodes' included
};

} // namespace lanthor
