// Replays the inputs kept for the fuzz targets (the seed corpus and every input that once broke
// an invariant) through the same checks, so that they run in every build, gcc included.

#include "CsvParserInvariants.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CsvParserFuzzInputs, KeepTheParserInvariants) {
    const fs::path fuzz = fs::path(LANTHOR_SOURCE_DIR) / "fuzz";
    int replayed = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path inputs = fuzz / folder / "csv_parser_fuzzer";
        if (!fs::is_directory(inputs)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(inputs)) {
            if (entry.is_regular_file()) {
                EXPECT_EQ(lanthor::csvParserInvariantViolation(readBytes(entry.path())), "")
                    << entry.path();
                ++replayed;
            }
        }
    }
    EXPECT_GT(replayed, 0) << "no fuzz inputs under " << fuzz;
}

} // namespace
