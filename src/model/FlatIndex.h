#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace lanthor {

/// A hash index from strings to 32-bit values that keeps no keys of its own: `keyOf(value)`
/// gives the key of a stored value. Open addressing with linear probing in one flat array, so a
/// lookup costs about one cache miss and growing never touches the keys. Large tables of nodes
/// are looked up by number constantly; a node-based map spent most of its time on cache misses.
template <typename KeyOf> class FlatIndex {
public:
    explicit FlatIndex(KeyOf keyOf) : keyOf_(std::move(keyOf)) {}

    static std::uint32_t hashOf(std::u16string_view key) {
        return static_cast<std::uint32_t>(std::hash<std::u16string_view>{}(key));
    }

    std::optional<std::uint32_t> find(std::u16string_view key) const {
        if (buckets_.empty()) {
            return std::nullopt;
        }
        const std::uint32_t hash = hashOf(key);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Bucket& bucket = buckets_[i];
            if (bucket.value == kEmpty) {
                return std::nullopt;
            }
            if (bucket.hash == hash && keyOf_(bucket.value) == key) {
                return bucket.value;
            }
        }
    }

    /// Adds `value` under its key, which must not be present yet.
    void insert(std::uint32_t value) {
        if ((count_ + 1) * 2 > buckets_.size()) {
            grow();
        }
        place(hashOf(keyOf_(value)), value);
        ++count_;
    }

    /// Removes the entry whose key is `key`, if any.
    void erase(std::u16string_view key) {
        if (buckets_.empty()) {
            return;
        }
        const std::uint32_t hash = hashOf(key);
        std::size_t i = hash & mask_;
        for (;; i = (i + 1) & mask_) {
            if (buckets_[i].value == kEmpty) {
                return;
            }
            if (buckets_[i].hash == hash && keyOf_(buckets_[i].value) == key) {
                break;
            }
        }
        // Shift later entries of the probe run back, so that no lookup stops early at the gap.
        for (std::size_t j = (i + 1) & mask_;; j = (j + 1) & mask_) {
            if (buckets_[j].value == kEmpty) {
                break;
            }
            const std::size_t home = buckets_[j].hash & mask_;
            const bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
            if (movable) {
                buckets_[i] = buckets_[j];
                i = j;
            }
        }
        buckets_[i] = Bucket{};
        --count_;
    }

    /// Replaces the value stored under `key` (same key, new value).
    void reassign(std::u16string_view key, std::uint32_t value) {
        const std::uint32_t hash = hashOf(key);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Bucket& bucket = buckets_[i];
            if (bucket.hash == hash && keyOf_(bucket.value) == key) {
                bucket.value = value;
                return;
            }
        }
    }

    void clear() {
        buckets_.clear();
        mask_ = 0;
        count_ = 0;
    }
    std::size_t size() const { return count_; }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    struct Bucket {
        std::uint32_t value = kEmpty;
        std::uint32_t hash = 0;
    };

    void place(std::uint32_t hash, std::uint32_t value) {
        std::size_t i = hash & mask_;
        while (buckets_[i].value != kEmpty) {
            i = (i + 1) & mask_;
        }
        buckets_[i] = Bucket{value, hash};
    }

    void grow() {
        std::vector<Bucket> old = std::move(buckets_);
        buckets_.assign(old.empty() ? 16 : old.size() * 2, Bucket{});
        mask_ = buckets_.size() - 1;
        for (const Bucket& bucket : old) {
            if (bucket.value != kEmpty) {
                place(bucket.hash, bucket.value);
            }
        }
    }

    KeyOf keyOf_;
    std::vector<Bucket> buckets_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

} // namespace lanthor
