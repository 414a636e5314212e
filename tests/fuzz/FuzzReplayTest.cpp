// Replays every fuzz target's kept inputs (fuzz/corpus/<target>/, fuzz/regressions/<target>/)
// through the target's own check, in every build, gcc included.

#include "CsvParserInvariants.h"
#include "TreeFileRoundTrip.h"
#include "TreeTextRoundTrip.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace lanthor {
namespace {

namespace fs = std::filesystem;

TEST(FuzzReplay, EveryTargetKeepsItsInvariantsOnEveryKeptInput) {
    const test::TempDir scratch;
    const std::map<std::string, std::function<std::string(const std::string&)>> checks{
        {"csv_parser_fuzzer", [](const auto& bytes) { return csvParserInvariantViolation(bytes); }},
        {"tree_file_fuzzer",
         [&scratch](const auto& bytes) {
             return fuzzing::treeFileRoundTripProblem(bytes, scratch.path()).value_or("");
         }},
        {"tree_text_fuzzer",
         [](const auto& bytes) { return fuzzing::treeTextRoundTripProblem(bytes).value_or(""); }}};
    const fs::path fuzz = fs::path(LANTHOR_SOURCE_DIR) / "fuzz";
    for (const fs::directory_entry& source : fs::directory_iterator(fuzz)) {
        const std::string target = source.path().stem().string();
        if (!target.ends_with("_fuzzer")) {
            continue;
        }
        ASSERT_TRUE(checks.contains(target)) << "no replay for " << target;
        std::size_t replayed = 0;
        for (const fs::path& folder : {fuzz / "corpus" / target, fuzz / "regressions" / target}) {
            std::error_code missing; // a target may have no regressions yet
            for (const fs::directory_entry& input : fs::directory_iterator(folder, missing)) {
                EXPECT_EQ(checks.at(target)(test::readFile(input.path())), "") << input.path();
                ++replayed;
            }
        }
        EXPECT_GT(replayed, 0u) << "no kept inputs for " << target;
    }
}

} // namespace
} // namespace lanthor
