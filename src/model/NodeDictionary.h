#pragma once

#include "FlatIndex.h"
#include "Tree.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
    NodeDictionary() = default;
    NodeDictionary(const NodeDictionary&) = delete;
    NodeDictionary& operator=(const NodeDictionary&) = delete;

    /// The node stored under `number`, or null.
    std::shared_ptr<Tree> find(std::u16string_view number) const;
    bool contains(std::u16string_view number) const { return index_.find(number).has_value(); }
    /// Stores `node` under its number, replacing and unlinking any node stored there before.
    void insert(std::shared_ptr<Tree> node);
    /// Removes the node stored under `number`, if any; positions stay valid.
    void erase(std::u16string_view number);
    std::size_t size() const { return index_.size(); }
    bool empty() const { return index_.size() == 0; }

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
    /// Keys are the stored nodes' own numbers, which never change.
    struct NumberAt {
        const std::vector<std::shared_ptr<Tree>>* slots;
        std::u16string_view operator()(std::uint32_t position) const {
            return (*slots)[position]->nodeNumber();
        }
    };

    std::vector<std::shared_ptr<Tree>> slots_;
    FlatIndex<NumberAt> index_{NumberAt{&slots_}};
};

} // namespace lanthor
