#include "NodeDictionary.h"

#include <atomic>

namespace lanthor {

std::uint64_t NodeDictionary::nextGeneration() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

std::shared_ptr<Tree> NodeDictionary::find(std::u16string_view number) const {
    const auto found = index_.find(number);
    return found == index_.end() ? nullptr : slots_[found->second];
}

std::optional<std::size_t> NodeDictionary::positionOf(std::u16string_view number) const {
    const auto found = index_.find(number);
    return found == index_.end() ? std::nullopt : std::optional(found->second);
}

void NodeDictionary::insert(std::shared_ptr<Tree> node) {
    // One hash lookup for both cases: a new number, or a node replaced under its number.
    const auto [entry, added] = index_.try_emplace(node->nodeNumber(), slots_.size());
    if (!added) {
        slots_[entry->second].reset();
        entry->second = slots_.size();
    }
    slots_.push_back(std::move(node));
    generation_ = nextGeneration();
    if (slots_.size() > 1024 && slots_.size() > 2 * index_.size()) {
        compact();
    }
}

void NodeDictionary::erase(std::u16string_view number) {
    const auto found = index_.find(number);
    if (found == index_.end()) {
        return;
    }
    slots_[found->second].reset();
    index_.erase(found);
    generation_ = nextGeneration();
}

void NodeDictionary::compact() {
    if (slots_.size() == index_.size()) {
        return;
    }
    std::vector<std::size_t> newPosition(slots_.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i]) {
            newPosition[i] = kept;
            slots_[kept++] = std::move(slots_[i]);
        }
    }
    slots_.resize(kept);
    for (auto& entry : index_) {
        entry.second = newPosition[entry.second];
    }
}

} // namespace lanthor
