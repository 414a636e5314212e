#pragma once

namespace lanthor {

/// Restarts the process once with the C library's heap on transparent huge pages, unless it
/// already is. A large tree is millions of small allocations, and on machines where first
/// touching a page is expensive (virtual machines especially) that alone can take longer than
/// reading the file; huge pages cut the count of such faults by a factor of 512. The C library
/// reads this setting only from the environment at start-up, hence the restart. Returns (and the
/// process goes on as it is) when restarting is not possible.
void restartWithHugePageHeap(char** argv);

} // namespace lanthor
