#include "support/RunLanthor.h"

#include <gtest/gtest.h>

namespace lanthor::test {

TEST(EditorCommandLine, BadOptionsAreUsageErrorsEvenWithoutADisplay) {
    const CommandResult unknown = runLanthor({"tree.csv", "--bogus"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(linesOf(unknown.err).front(), "lanthor: unknown option '--bogus'");
    EXPECT_EQ(linesOf(unknown.err).at(1), "usage: lanthor [FILE...]");
    EXPECT_EQ(unknown.out, "");

    const CommandResult noValue = runLanthor({"--screenshot"});
    EXPECT_EQ(noValue.exitStatus, 2);
    EXPECT_EQ(linesOf(noValue.err).front(), "lanthor: --screenshot needs a value");
}

} // namespace lanthor::test
