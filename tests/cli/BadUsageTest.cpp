// Each rule of the argument parsers, one line each; tests/golden pins the whole of a few such
// runs (the usage text included).

#include "qtsupport/RunLanthor.h"

#include <gtest/gtest.h>

namespace lanthor::test {

namespace {

TEST(BadUsage, SaysWhatIsWrongThenShowsUsageAndExitsWithTwo) {
    const std::string usage = runLanthor({{"--help"}}).out; // as tests/golden/usage/help shows
    const std::pair<std::vector<std::string>, std::string> misuses[] = {
        {{"csv"}, "csv needs a FILE"},
        {{"csv", "a.csv", "b.csv"}, "csv reads one FILE; 'b.csv' is one too many"},
        {{"csv", "--options"}, "--options needs a value"},
        {{"csv", "--options", "-1", "a.csv"}, "--options needs a non-negative integer, not '-1'"},
        {{"csv", "--delimiter", "ab", "a.csv"}, "--delimiter needs a single character, not 'ab'"},
        {{"csv", "--delimiter", "#", "--options", "4", "a.csv"},
         "the delimiter U+0023 cannot be used while comments are recognized"},
        {{"csv", "--delimiter", "\\", "--options", "1", "a.csv"},
         "the delimiter U+005C cannot be used while backslashes are escapes"},
        {{"csv", "--color", "a.csv"}, "unknown option '--color' for csv"},
        {{"layout", "a.csv", "b.csv"}, "layout needs exactly one FILE"},
        {{"layout", "a.csv", "--size", "0"}, "--size needs a positive number of points, not '0'"},
        {{"layout", "a.csv", "--size", "abc"},
         "--size needs a positive number of points, not 'abc'"},
        {{"layout", "a.csv", "--height", "1.5"}, "--height needs an integer, not '1.5'"},
        {{"layout", "a.csv", "--font"}, "--font needs a value"},
        {{"layout", "a.csv", "-o", "a.png"}, "unknown option '-o'"},
        {{"export", "a.csv"}, "export needs -o OUT"},
        {{"export", "-o", "a.png"}, "export needs exactly one FILE"},
        {{"resave", "a.csv"}, "resave needs IN and OUT"},
        {{"dump", "a.csv", "b.csv"}, "dump needs exactly one FILE"},
    };
    for (const auto& [args, message] : misuses) {
        const CommandResult run = runLanthor({args});
        EXPECT_EQ(run.exitStatus, 2) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "lanthor: " + message + "\n" + usage);
    }
}

} // namespace

} // namespace lanthor::test
