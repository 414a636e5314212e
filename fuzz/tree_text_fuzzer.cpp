// Reads arbitrary bytes as bracket and Penn text, writes and rereads it (TreeTextRoundTrip.h).

#include "TreeTextRoundTrip.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto problem = lanthor::fuzzing::treeTextRoundTripProblem(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (problem) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
