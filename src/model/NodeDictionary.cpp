#include "NodeDictionary.h"

#include <stdexcept>

namespace lanthor {

std::shared_ptr<Tree> NodeDictionary::find(std::u16string_view number) const {
    const std::optional<std::uint32_t> position = index_.find(number);
    return position ? slots_[*position] : nullptr;
}

std::optional<std::size_t> NodeDictionary::positionOf(std::u16string_view number) const {
    const std::optional<std::uint32_t> position = index_.find(number);
    return position ? std::optional<std::size_t>(*position) : std::nullopt;
}

void NodeDictionary::insert(std::shared_ptr<Tree> node) {
    if (slots_.size() >= UINT32_MAX) {
        throw std::length_error("too many nodes for one table");
    }
    const auto position = static_cast<std::uint32_t>(slots_.size());
    const std::optional<std::uint32_t> previous = index_.find(node->nodeNumber());
    slots_.push_back(std::move(node));
    if (previous) {
        // The replaced node keeps its key readable until the index points past it.
        index_.reassign(slots_[position]->nodeNumber(), position);
        slots_[*previous].reset();
    } else {
        index_.insert(position);
    }
    if (slots_.size() > 1024 && slots_.size() > 2 * index_.size()) {
        compact();
    }
}

void NodeDictionary::erase(std::u16string_view number) {
    const std::optional<std::uint32_t> position = index_.find(number);
    if (!position) {
        return;
    }
    index_.erase(number);
    slots_[*position].reset();
}

void NodeDictionary::compact() {
    if (slots_.size() == index_.size()) {
        return;
    }
    std::size_t kept = 0;
    for (auto& slot : slots_) {
        if (slot) {
            slots_[kept++] = std::move(slot);
        }
    }
    slots_.resize(kept);
    index_.clear();
    for (std::uint32_t position = 0; position < kept; ++position) {
        index_.insert(position);
    }
}

} // namespace lanthor
