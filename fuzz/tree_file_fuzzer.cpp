// Loads arbitrary bytes as a tree file, saves and reloads it (TreeFileRoundTrip.h).

#include "TreeFileRoundTrip.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::string scratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lanthor-tree-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::abort();
    }
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = scratchFolder();
    const auto problem = lanthor::fuzzing::treeFileRoundTripProblem(
        std::string_view(reinterpret_cast<const char*>(data), size), folder);
    if (problem) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
