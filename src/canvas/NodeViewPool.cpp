#include "NodeViewPool.h"

#include <mutex>
#include <new>
#include <vector>

namespace lanthor {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kCheckedHeap = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kCheckedHeap = true;
#else
constexpr bool kCheckedHeap = false;
#endif
#else
constexpr bool kCheckedHeap = false;
#endif

/// Below the size that the C library maps apart, so that chunks reuse what the heap has free
/// (after a file is loaded, much of it).
constexpr std::size_t kChunk = 64 * 1024;

struct Pool {
    std::mutex mutex;
    std::size_t blockSize = 0;
    void* freeList = nullptr; ///< each free block holds the address of the next
    char* next = nullptr;     ///< the untouched rest of the newest chunk
    char* end = nullptr;
    std::vector<void*> chunks; ///< kept for the life of the process
    std::size_t blocksInUse = 0;
};

Pool& pool() {
    static Pool* const shared = new Pool(); // never goes: views may be let go at exit
    return *shared;
}

} // namespace

void* NodeViewPool::allocate(std::size_t size) {
    if (kCheckedHeap) {
        return nullptr; // under AddressSanitizer every view has a heap block of its own, checked
    }
    Pool& pool = lanthor::pool();
    const std::lock_guard lock(pool.mutex);
    if (pool.blockSize == 0) {
        pool.blockSize = size;
    }
    if (size != pool.blockSize || size < sizeof(void*) || size % 8 != 0) {
        return nullptr; // blocks follow one another, each aligned as the first
    }
    ++pool.blocksInUse;
    if (void* block = pool.freeList) {
        pool.freeList = *static_cast<void**>(block);
        return block;
    }
    if (pool.next + size > pool.end) {
        // From the heap, so that leak checkers see what the views hold.
        pool.next = static_cast<char*>(::operator new(kChunk));
        pool.end = pool.next + kChunk;
        pool.chunks.push_back(pool.next);
    }
    void* block = pool.next;
    pool.next += size;
    return block;
}

bool NodeViewPool::deallocate(void* block, std::size_t size) {
    Pool& pool = lanthor::pool();
    const std::lock_guard lock(pool.mutex);
    if (size != pool.blockSize) {
        return false;
    }
    *static_cast<void**>(block) = pool.freeList;
    pool.freeList = block;
    --pool.blocksInUse;
    return true;
}

std::size_t NodeViewPool::bytesInUse() {
    Pool& pool = lanthor::pool();
    const std::lock_guard lock(pool.mutex);
    return pool.blocksInUse * pool.blockSize;
}

} // namespace lanthor
