#pragma once

#include "platform/AttributedString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lanthor {

class Tree;

/// The styled texts of the labels drawn lately, so that a display of one area, shown again and
/// again while the user scrolls, reads and styles each label once. A text is kept for its node
/// at the node's revision and the label settings' generation, and goes when newer texts need
/// its place (first in, first out). Keeping the node alive keeps its address from being reused
/// for another node while its text is here.
class LabelTextCache {
public:
    explicit LabelTextCache(std::size_t capacity) : capacity_(capacity) {}

    /// The text kept for `node` as it is now under the settings `generation`, or null.
    const AttributedString* find(const Tree& node, std::uint32_t generation) const;
    /// Keeps `text` for `node` as it is now; returns the text kept.
    const AttributedString& add(std::shared_ptr<const Tree> node, std::uint32_t generation,
                                AttributedString text);

private:
    struct Slot {
        std::shared_ptr<const Tree> node;
        std::uint64_t revision;
        std::uint32_t generation;
        AttributedString text;
    };

    std::size_t capacity_;
    std::vector<Slot> slots_;
    std::unordered_map<const Tree*, std::size_t> slotOf_;
    std::size_t next_ = 0; ///< the slot to give up next once all are taken
};

} // namespace lanthor
