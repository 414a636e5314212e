#pragma once

#include "Tree.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lanthor {

/// The table's map from node number to node. It iterates in the order in which nodes were
/// stored, a replaced node taking the last place, so that opening and saving an unchanged file
/// gives the same rows in the same order.
///
/// Internally each node has a position; removing a node leaves a gap until `compact` runs, so a
/// caller may hold positions across removals (the table's subtree deletion does).
class NodeDictionary {
public:
    /// The node stored under `number`, or null.
    std::shared_ptr<Tree> find(std::u16string_view number) const;
    bool contains(std::u16string_view number) const { return index_.contains(number); }
    /// Stores `node` under its number, replacing and unlinking any node stored there before.
    void insert(std::shared_ptr<Tree> node);
    /// Removes the node stored under `number`, if any; positions stay valid.
    void erase(std::u16string_view number);
    std::size_t size() const { return index_.size(); }
    bool empty() const { return index_.empty(); }
    /// Changes with every insert and erase, and differs between any two maps, so that what was
    /// looked up in a map can be known to be still valid without looking it up again.
    std::uint64_t generation() const { return generation_; }

    /// Calls `visit` with every node, in iteration order. `visit` must not change the map.
    template <typename Visit> void forEach(Visit&& visit) const {
        for (const auto& node : slots_) {
            if (node) {
                visit(node);
            }
        }
    }
    /// Calls `visit` with every node until it returns true; returns that node or null.
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
    /// The node at `position`, or null for a gap.
    const std::shared_ptr<Tree>& nodeAt(std::size_t position) const { return slots_[position]; }
    /// Closes the gaps left by removals; positions change.
    void compact();

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const {
            return std::hash<std::u16string_view>{}(text);
        }
    };
    static std::uint64_t nextGeneration();

    std::vector<std::shared_ptr<Tree>> slots_;
    std::uint64_t generation_ = nextGeneration();
    std::unordered_map<std::u16string, std::size_t, Hash, std::equal_to<>> index_;
};

} // namespace lanthor
