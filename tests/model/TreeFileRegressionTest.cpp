// Replays the inputs kept from fuzzing the tree file's round trip.

#include "TreeFileRoundTrip.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lanthor {
namespace {

TEST(TreeFileRegression, KeptFuzzInputsRoundTrip) {
    const std::filesystem::path folder =
        std::filesystem::path(LANTHOR_SOURCE_DIR) / "fuzz/regressions/tree_file_fuzzer";
    test::TempDir scratch;
    std::size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = test::readBytes(entry.path().string());
        EXPECT_EQ(fuzzing::treeFileRoundTripProblem(bytes, scratch.path().string()), std::nullopt)
            << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
}

} // namespace
} // namespace lanthor
