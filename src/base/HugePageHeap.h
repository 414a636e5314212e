#pragma once

namespace lanthor {

/// Asks for the C library's heap to be backed by transparent huge pages. A large tree is
/// millions of small allocations; where first touching a page is expensive (virtual machines
/// especially) those faults alone can cost more than reading the file, and huge pages cut their
/// count by a factor of 512. The heap is grown once, as address space only, and the kernel is
/// advised on that range; memory is still used only as it is touched. Call it at start-up,
/// before the heap holds much. Without the C library's malloc options or huge pages it does
/// nothing, and everything works as before.
void useHugePageHeap();

} // namespace lanthor
