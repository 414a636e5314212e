#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace lanthor {

/// Memory for node views: blocks of one size carved from large chunks and reused through a free
/// list. A canvas makes a view per node, a million at a time, and the C library's heap spends
/// more on them than measuring their labels does (after loading a file it has many small free
/// pieces to sort through), and rounds each up with a header of its own.
///
/// One pool serves every canvas for the life of the process, so that a view may outlive its
/// canvas: memory of views that go is kept for the views to come, as the heap would keep it.
class NodeViewPool {
public:
    /// A block of `size` bytes, 8-aligned; null when `size` is not the pool's block size (that
    /// of its first request) or not a multiple of 8, and always in AddressSanitizer builds, so
    /// that a view used after it went is caught there.
    static void* allocate(std::size_t size);
    /// Takes back a block from `allocate`; false when `size` is not the block size.
    static bool deallocate(void* block, std::size_t size);
    /// The bytes of the blocks handed out and not taken back.
    static std::size_t bytesInUse();
};

/// Allocates single objects from the NodeViewPool, for std::allocate_shared; anything else
/// from the heap. It holds nothing, so the shared object's control block stays as small as
/// std::make_shared makes it.
template <typename T> class NodeViewAllocator {
public:
    using value_type = T;

    NodeViewAllocator() = default;
    template <typename U> NodeViewAllocator(const NodeViewAllocator<U>&) {}

    T* allocate(std::size_t count) {
        if (count == 1 && alignof(T) <= 8) {
            if (void* block = NodeViewPool::allocate(sizeof(T))) {
                return static_cast<T*>(block);
            }
        }
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* pointer, std::size_t count) {
        if (count != 1 || alignof(T) > 8 || !NodeViewPool::deallocate(pointer, sizeof(T))) {
            std::allocator<T>().deallocate(pointer, count);
        }
    }
    template <typename U> bool operator==(const NodeViewAllocator<U>&) const { return true; }
};

} // namespace lanthor
