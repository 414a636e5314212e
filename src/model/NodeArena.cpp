#include "NodeArena.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LANTHOR_ASAN 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define LANTHOR_ASAN 1
#endif
#ifdef LANTHOR_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#define LANTHOR_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define LANTHOR_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
// The leak checker scans only the heap and the program's own data for pointers; nodes live in
// mapped chunks, so the chunks are shown to it, or what the nodes own would look leaked.
#define LANTHOR_SCAN_FOR_LEAKS(address, size) __lsan_register_root_region(address, size)
#define LANTHOR_STOP_SCANNING(address, size) __lsan_unregister_root_region(address, size)
#else
#define LANTHOR_POISON(address, size) ((void)(address), (void)(size))
#define LANTHOR_UNPOISON(address, size) ((void)(address), (void)(size))
#define LANTHOR_SCAN_FOR_LEAKS(address, size) ((void)(address), (void)(size))
#define LANTHOR_STOP_SCANNING(address, size) ((void)(address), (void)(size))
#endif

namespace lanthor {

namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;
constexpr std::size_t kLargestChunk = 64 * 1024 * 1024;
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

} // namespace

NodeArena::~NodeArena() {
    for (const auto& [address, size] : chunks_) {
        LANTHOR_UNPOISON(address, size); // the range may be mapped again for something else
        LANTHOR_STOP_SCANNING(address, size);
        ::munmap(address, size);
    }
}

bool NodeArena::isBlockSize(std::size_t size) const {
    return blockSize_ != 0 && (size + 15) / 16 * 16 == blockSize_;
}

void NodeArena::addChunk() {
    // Chunks double, so that a small tree stays small and a large one needs few of them.
    const std::size_t size =
        chunks_.empty() ? kFirstChunk : std::min(2 * chunks_.back().second, kLargestChunk);
    void* address =
        ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) {
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    if (size >= kHugePage) {
        ::madvise(address, size, MADV_HUGEPAGE); // a hint: without huge pages it still works
    }
#endif
    chunks_.emplace_back(address, size);
    LANTHOR_SCAN_FOR_LEAKS(address, size);
    next_ = static_cast<char*>(address);
    end_ = next_ + size;
    LANTHOR_POISON(address, size);
}

void* NodeArena::allocate(std::size_t size) {
    const std::lock_guard lock(mutex_);
    if (blockSize_ == 0) {
        blockSize_ = (size + 15) / 16 * 16;
    }
    if (!isBlockSize(size)) {
        return nullptr;
    }
    void* block = freeList_;
    if (block) {
        LANTHOR_UNPOISON(block, blockSize_);
        freeList_ = *static_cast<void**>(block);
    } else {
        if (static_cast<std::size_t>(end_ - next_) < blockSize_) {
            addChunk();
        }
        block = next_;
        next_ += blockSize_;
        LANTHOR_UNPOISON(block, blockSize_);
    }
    return block;
}

bool NodeArena::deallocate(void* block, std::size_t size) {
    const std::lock_guard lock(mutex_);
    if (!isBlockSize(size)) {
        return false;
    }
    *static_cast<void**>(block) = freeList_;
    freeList_ = block;
    LANTHOR_POISON(static_cast<char*>(block) + sizeof(void*), blockSize_ - sizeof(void*));
    return true;
}

} // namespace lanthor
