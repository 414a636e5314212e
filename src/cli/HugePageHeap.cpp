#include "HugePageHeap.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace lanthor {

void restartWithHugePageHeap(char** argv) {
    constexpr const char* kTunable = "glibc.malloc.hugetlb";
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = current ? current : "";
    if (tunables.find(kTunable) != std::string::npos) {
        return; // already set, by the restart or by the user
    }
    const std::string updated =
        (tunables.empty() ? std::string() : tunables + ":") + kTunable + "=1";
    if (::setenv("GLIBC_TUNABLES", updated.c_str(), 1) != 0) {
        return;
    }
    ::execv("/proc/self/exe", argv);
    // Not restarted: go on with the usual heap, and leave the environment as it was.
    if (current) {
        ::setenv("GLIBC_TUNABLES", current, 1);
    } else {
        ::unsetenv("GLIBC_TUNABLES");
    }
}

} // namespace lanthor
