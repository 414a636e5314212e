#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace lanthor {

/// Memory for the nodes of one table: blocks of one size carved from large chunks and reused
/// through a free list. A large tree is mostly its nodes, and taking them from the general heap
/// one by one costs a page fault every few dozen nodes; large chunks are asked to be backed by
/// huge pages where the system offers them, which makes loading a big file several times faster.
///
/// The arena lives as long as the table or any node taken from it (each node's allocator holds
/// it), and returns its chunks to the system when it goes. Memory of deleted nodes is reused for
/// new nodes of the same table, not returned earlier.
class NodeArena {
public:
    NodeArena() = default;
    ~NodeArena();
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    /// A block of `size` bytes, 16-aligned; null when `size` is not the arena's block size (the
    /// size of its first request). Throws std::bad_alloc when the system has no memory left.
    void* allocate(std::size_t size);
    /// Takes back a block of `size` bytes when it came from `allocate`, that is when `size` is
    /// the block size; false otherwise.
    bool deallocate(void* block, std::size_t size);

private:
    bool isBlockSize(std::size_t size) const;
    void addChunk();

    std::mutex mutex_;
    std::size_t blockSize_ = 0;
    void* freeList_ = nullptr; ///< each free block holds the address of the next
    char* next_ = nullptr;     ///< the untouched rest of the newest chunk
    char* end_ = nullptr;
    std::vector<std::pair<void*, std::size_t>> chunks_;
};

/// Allocates single objects of one type from a NodeArena, for std::allocate_shared; anything
/// else goes to the general heap.
template <typename T> class NodeAllocator {
public:
    using value_type = T;

    explicit NodeAllocator(std::shared_ptr<NodeArena> arena) : arena_(std::move(arena)) {}
    template <typename U> NodeAllocator(const NodeAllocator<U>& other) : arena_(other.arena()) {}

    T* allocate(std::size_t count) {
        if (count == 1 && alignof(T) <= 16) {
            if (void* block = arena_->allocate(sizeof(T))) {
                return static_cast<T*>(block);
            }
        }
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* pointer, std::size_t count) {
        if (count != 1 || alignof(T) > 16 || !arena_->deallocate(pointer, sizeof(T))) {
            std::allocator<T>().deallocate(pointer, count);
        }
    }

    const std::shared_ptr<NodeArena>& arena() const { return arena_; }
    template <typename U> bool operator==(const NodeAllocator<U>& other) const {
        return arena_ == other.arena();
    }

private:
    std::shared_ptr<NodeArena> arena_;
};

/// A new T whose shared storage (count and object) comes from `arena`.
template <typename T, typename... Args>
std::shared_ptr<T> allocateShared(const std::shared_ptr<NodeArena>& arena, Args&&... args) {
    return std::allocate_shared<T>(NodeAllocator<T>(arena), std::forward<Args>(args)...);
}

} // namespace lanthor
