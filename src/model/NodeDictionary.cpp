#include "NodeDictionary.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace lanthor {

namespace {

/// How many lookups ahead of the current one a batch loads index entries: a large map misses
/// the cache on almost every entry, and overlapping those misses is most of the speed.
constexpr std::size_t kLookahead = 16;

/// Calls `visit(i, hash)` for i from 0 to count - 1 after `prefetch(hash)` has been called for
/// the hash kLookahead places further on.
template <typename HashAt, typename Prefetch, typename Visit>
void forEachHashed(std::size_t count, HashAt hashAt, Prefetch prefetch, Visit visit) {
    std::array<std::uint32_t, kLookahead> ahead{};
    for (std::size_t i = 0; i < count && i < kLookahead; ++i) {
        ahead[i] = hashAt(i);
        prefetch(ahead[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t hash = ahead[i % kLookahead];
        if (i + kLookahead < count) {
            ahead[i % kLookahead] = hashAt(i + kLookahead);
            prefetch(ahead[i % kLookahead]);
        }
        visit(i, hash);
    }
}

} // namespace

std::uint32_t NodeDictionary::hashOf(std::u16string_view number) {
    const std::size_t hash = std::hash<std::u16string_view>{}(number);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

void NodeDictionary::prefetchEntry(std::uint32_t hash) const {
    __builtin_prefetch(&index_[hash & (index_.size() - 1)]);
}

std::size_t NodeDictionary::probe(std::u16string_view number, std::uint32_t hash) const {
    const std::size_t mask = index_.size() - 1;
    for (std::size_t entry = hash & mask;; entry = (entry + 1) & mask) {
        const IndexEntry& candidate = index_[entry];
        if (candidate.position == kFree) {
            return entry;
        }
        if (candidate.hash == hash) {
            const std::shared_ptr<Tree>& node = slots_[candidate.position];
            if (node && node->nodeNumber() == number) {
                return entry;
            }
        }
    }
}

std::optional<std::size_t> NodeDictionary::positionOf(std::u16string_view number) const {
    if (count_ == 0) {
        return std::nullopt;
    }
    const std::uint32_t position = index_[probe(number, hashOf(number))].position;
    return position == kFree ? std::nullopt : std::optional<std::size_t>(position);
}

std::vector<std::size_t>
NodeDictionary::positionsOf(const std::vector<std::u16string_view>& numbers) const {
    std::vector<std::size_t> positions(numbers.size(), npos);
    if (count_ == 0) {
        return positions;
    }
    forEachHashed(
        numbers.size(), [&numbers](std::size_t i) { return hashOf(numbers[i]); },
        [this](std::uint32_t hash) { prefetchEntry(hash); },
        [&](std::size_t i, std::uint32_t hash) {
            const std::uint32_t position = index_[probe(numbers[i], hash)].position;
            positions[i] = position == kFree ? npos : position;
        });
    return positions;
}

std::shared_ptr<Tree> NodeDictionary::find(std::u16string_view number) const {
    const std::optional<std::size_t> position = positionOf(number);
    return position ? slots_[*position] : nullptr;
}

void NodeDictionary::place(std::size_t position, std::uint32_t hash) {
    IndexEntry& entry = index_[probe(slots_[position]->nodeNumber(), hash)];
    if (entry.position != kFree) {
        slots_[entry.position].reset();
    } else {
        entry.hash = hash;
        ++count_;
        ++usedEntries_;
    }
    entry.position = static_cast<std::uint32_t>(position);
}

std::uint64_t NodeDictionary::nextGeneration() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

void NodeDictionary::insert(std::shared_ptr<Tree> node) {
    generation_ = nextGeneration();
    reservePositions(1);
    reserveEntries(1);
    const std::uint32_t hash = hashOf(node->nodeNumber());
    slots_.push_back(std::move(node));
    place(slots_.size() - 1, hash);
    compactIfSparse();
}

void NodeDictionary::insertAll(std::vector<std::shared_ptr<Tree>> nodes) {
    generation_ = nextGeneration();
    reservePositions(nodes.size());
    reserveEntries(nodes.size());
    // The nodes go to the end of the slots, where an empty map can simply adopt them.
    const std::size_t first = slots_.size();
    if (slots_.empty()) {
        slots_ = std::move(nodes);
    } else {
        slots_.insert(slots_.end(), std::make_move_iterator(nodes.begin()),
                      std::make_move_iterator(nodes.end()));
    }
    forEachHashed(
        slots_.size() - first,
        [this, first](std::size_t i) { return hashOf(slots_[first + i]->nodeNumber()); },
        [this](std::uint32_t hash) { prefetchEntry(hash); },
        [&](std::size_t i, std::uint32_t hash) { place(first + i, hash); });
    compactIfSparse();
}

void NodeDictionary::erase(std::u16string_view number) {
    if (const std::optional<std::size_t> position = positionOf(number)) {
        eraseAt(*position);
    }
}

void NodeDictionary::eraseAt(std::size_t position) {
    if (slots_[position]) {
        slots_[position].reset();
        --count_;
        generation_ = nextGeneration();
    }
}

void NodeDictionary::reservePositions(std::size_t extra) {
    if (slots_.size() + extra >= kFree) {
        compact();
        if (slots_.size() + extra >= kFree) {
            throw std::length_error("a tree of more than 4294967294 nodes");
        }
    }
}

void NodeDictionary::reserveEntries(std::size_t extra) {
    // At most three quarters full, so that probes stay short.
    if (4 * (usedEntries_ + extra) > 3 * index_.size()) {
        rebuildIndex(count_ + extra);
    }
}

void NodeDictionary::rebuildIndex(std::size_t nodeCount) {
    std::size_t capacity = 16;
    while (4 * nodeCount > 3 * capacity) {
        capacity *= 2;
    }
    std::vector<IndexEntry> old(capacity);
    old.swap(index_);
    const std::size_t mask = capacity - 1;
    // Only stored nodes come along: the entries of removed ones are dropped here.
    forEachHashed(
        old.size(), [&old](std::size_t i) { return old[i].hash; },
        [this](std::uint32_t hash) { prefetchEntry(hash); },
        [&](std::size_t i, std::uint32_t hash) {
            if (old[i].position == kFree || !slots_[old[i].position]) {
                return;
            }
            std::size_t target = hash & mask;
            while (index_[target].position != kFree) {
                target = (target + 1) & mask;
            }
            index_[target] = old[i];
        });
    usedEntries_ = count_;
}

void NodeDictionary::compact() {
    if (slots_.size() == count_) {
        return;
    }
    std::vector<std::uint32_t> newPosition(slots_.size(), kFree);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i]) {
            newPosition[i] = static_cast<std::uint32_t>(kept);
            slots_[kept++] = std::move(slots_[i]);
        }
    }
    slots_.resize(kept);
    // The entries of removed nodes become free and the rebuild leaves them out.
    for (IndexEntry& entry : index_) {
        if (entry.position != kFree) {
            entry.position = newPosition[entry.position];
        }
    }
    rebuildIndex(count_);
    generation_ = nextGeneration();
}

std::vector<RankedNode> NodeDictionary::rankRemoved(
    std::vector<std::pair<std::size_t, std::shared_ptr<Tree>>> removed) const {
    std::ranges::sort(removed, {}, [](const auto& entry) { return entry.first; });
    std::vector<RankedNode> ranked;
    ranked.reserve(removed.size());
    std::size_t rank = 0;
    std::size_t position = 0;
    for (auto& [removedFrom, node] : removed) {
        for (; position < removedFrom; ++position) {
            rank += slots_[position] ? 1 : 0;
        }
        ranked.push_back({rank++, std::move(node)});
        position = removedFrom + 1;
    }
    return ranked;
}

void NodeDictionary::restore(std::vector<RankedNode> nodes) {
    if (nodes.empty()) {
        return;
    }
    std::vector<std::shared_ptr<Tree>> merged;
    merged.reserve(count_ + nodes.size());
    auto next = nodes.begin();
    const auto takeRestoredUpToHere = [&]() {
        for (; next != nodes.end() && next->rank <= merged.size(); ++next) {
            merged.push_back(std::move(next->node));
        }
    };
    for (std::shared_ptr<Tree>& node : slots_) {
        if (node) {
            takeRestoredUpToHere();
            merged.push_back(std::move(node));
        }
    }
    for (; next != nodes.end(); ++next) {
        merged.push_back(std::move(next->node));
    }
    // Every position changed: the index is made anew.
    slots_ = std::move(merged);
    index_.clear();
    count_ = 0;
    usedEntries_ = 0;
    reserveEntries(slots_.size());
    forEachHashed(
        slots_.size(), [this](std::size_t i) { return hashOf(slots_[i]->nodeNumber()); },
        [this](std::uint32_t hash) { prefetchEntry(hash); },
        [this](std::size_t i, std::uint32_t hash) { place(i, hash); });
    generation_ = nextGeneration();
}

void NodeDictionary::compactIfSparse() {
    if (slots_.size() > 1024 && slots_.size() > 2 * count_) {
        compact();
    }
}

} // namespace lanthor
