#include "HugePageHeap.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lanthor {

namespace {

/// Address space set aside for the heap at once (1 GiB, the most the option takes): more than a
/// tree of a million nodes needs. Past it the heap grows on ordinary pages.
constexpr int kHeapReserve = 1 << 30;
constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

} // namespace

void useHugePageHeap() {
#if defined(M_TOP_PAD) && defined(MADV_HUGEPAGE)
    // From now on the heap grows by the whole reserve at once, and trimming keeps that much, so
    // the advised range stays the heap's for the life of the process.
    if (::mallopt(M_TOP_PAD, kHeapReserve) == 0 || ::mallopt(M_TRIM_THRESHOLD, kHeapReserve) == 0) {
        return;
    }
    // Allocate below the size that malloc maps on its own until the heap has grown.
    const auto start = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    std::array<void*, 8> blocks{};
    for (void*& block : blocks) {
        block = std::malloc(64 * 1024);
        if (reinterpret_cast<std::uintptr_t>(::sbrk(0)) != start) {
            break;
        }
    }
    for (void* block : blocks) {
        std::free(block);
    }
    const auto end = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = end & ~(kHugePage - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
}

} // namespace lanthor
