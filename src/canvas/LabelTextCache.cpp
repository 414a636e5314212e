#include "LabelTextCache.h"

#include "model/Tree.h"

namespace lanthor {

const AttributedString* LabelTextCache::find(const Tree& node, std::uint32_t generation) const {
    const auto found = slotOf_.find(&node);
    if (found == slotOf_.end()) {
        return nullptr;
    }
    const Slot& slot = slots_[found->second];
    return slot.revision == node.revision() && slot.generation == generation ? &slot.text : nullptr;
}

const AttributedString& LabelTextCache::add(std::shared_ptr<const Tree> node,
                                            std::uint32_t generation, AttributedString text) {
    const std::uint64_t revision = node->revision();
    std::size_t index;
    if (const auto found = slotOf_.find(node.get()); found != slotOf_.end()) {
        index = found->second;
    } else if (slots_.size() < capacity_) {
        index = slots_.size();
        slots_.push_back({});
        slotOf_.emplace(node.get(), index);
    } else {
        index = next_;
        next_ = (next_ + 1) % capacity_;
        slotOf_.erase(slots_[index].node.get());
        slotOf_.emplace(node.get(), index);
    }
    slots_[index] = {std::move(node), revision, generation, std::move(text)};
    return slots_[index].text;
}

} // namespace lanthor
