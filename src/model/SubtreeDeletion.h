#pragma once

#include "NodeDictionary.h"
#include "TreeEdits.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lanthor {

/// What deletion does to a node's view: the view leaves the canvas and lets go of the node, and
/// the node forgets the view.
void releaseNodeView(Tree& node);

/// Deletes a node that is stored in the map and has children, with everything below it, with
/// exactly the effects of the plain recursive deletion: for each child entry of a node (a copy of
/// its list, taken once that node has been unlinked from its parent) log "Deleting Node :" and
/// the number, remove the number's first entry from the first node in iteration order that
/// lists it, and delete that child if it is stored; then release the node's view and remove it.
///
/// The plain deletion scans the whole map for every parent, which is quadratic. Here every entry
/// of every list is indexed once, in iteration order, per number it names, so each parent is
/// found in constant time; entries are only marked as unlinked while the deletion runs and are
/// dropped from a list once nothing reads it any more. The recursion lives on the heap: chains
/// of any depth and cycles are fine. Time and memory are linear in the map's entries and in the
/// number of lines logged.
class SubtreeDeletion {
public:
    explicit SubtreeDeletion(NodeDictionary& dictionary);
    using RemovedNodes = std::vector<std::pair<std::size_t, std::shared_ptr<Tree>>>;

    /// Deletes the node at `position`, which must already be unlinked from its parent. Adds the
    /// nodes it removes, with their positions, to `removedNodes`, and the entries it takes out of
    /// children lists to `removedEntries`, so that the deletion can be taken back.
    void run(std::size_t position, RemovedNodes& removedNodes,
             std::vector<RemovedEntries>& removedEntries);

private:
    static constexpr std::size_t kNone = SIZE_MAX;

    void unlinkFromParent(std::size_t id);
    void enter(std::size_t position);
    void dropUnlinkedEntries(std::size_t position, const std::shared_ptr<Tree>& node,
                             std::vector<RemovedEntries>& removedEntries);

    /// One call of the recursive deletion that is deleting its node's children.
    struct Frame {
        std::size_t position;
        std::shared_ptr<Tree> node;
        std::size_t start; ///< in pending_: this node's copied child listings begin here,
        std::size_t next;  ///< continue here
        std::size_t end;   ///< and end here
    };

    NodeDictionary& dictionary_;
    std::size_t positionCount_;
    // Entries ("listings") are numbered in iteration order: the node at position p holds
    // listings firstListing_[p] to firstListing_[p + 1] - 1, in list order.
    std::vector<std::size_t> firstListing_;
    std::vector<std::size_t> owner_; ///< position of the node holding each listing
    /// Per listing, the id of the number it names: the position of the node stored under it,
    /// or, for a number that names no node, an id after the positions.
    std::vector<std::size_t> target_;
    std::vector<std::size_t> nextListing_;      ///< next listing of the same number, or kNone
    std::vector<bool> unlinked_;                ///< per listing
    std::vector<std::size_t> firstLinked_;      ///< per id: earliest listing not yet unlinked
    std::vector<bool> touched_;                 ///< per position: has unlinked listings
    std::vector<std::size_t> touchedPositions_; ///< those positions
    std::vector<std::uint32_t> openFrames_;     ///< per position: frames of its node
    std::vector<std::size_t> pending_;          ///< the copied child listings of the open frames
    std::vector<Frame> frames_;
};

} // namespace lanthor
