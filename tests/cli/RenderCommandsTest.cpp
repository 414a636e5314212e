#include "support/RunLanthor.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace lanthor::test {

namespace {

/// Runs lanthor with the words of `commandLine`, which hold no blanks of their own (the test
/// folders' paths have none).
CommandResult runCommandLine(const std::string& commandLine, const std::string& input = {}) {
    std::vector<std::string> words;
    std::istringstream stream(commandLine);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return runLanthor(words, input);
}

const std::filesystem::path kGolden = std::filesystem::path(LANTHOR_SOURCE_DIR) / "tests/golden";

TEST(LayoutCommand, MatchesTheHandCheckedGoldenCases) {
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kGolden / "layout")) {
        if (!entry.is_directory()) {
            continue;
        }
        ++cases;
        std::string args = readFile(entry.path() / "args");
        args.erase(args.find_last_not_of('\n') + 1);
        const CommandResult run =
            runCommandLine("layout " + (entry.path() / "input.csv").string() + " " + args);
        EXPECT_EQ(run.exitStatus, 0) << entry.path();
        EXPECT_EQ(run.out, readFile(entry.path() / "expected.ndjson")) << entry.path();
        EXPECT_EQ(run.err, "[draw] nodes\n[draw] edges\n") << entry.path();
    }
    EXPECT_EQ(cases, 4);
}

TEST(LayoutCommand, ReadsStandardInputAndAppliesTheViewOptions) {
    const CommandResult run = runCommandLine(
        "layout - --font Helvetica --size 30 --height 100 --numbers", "0,1,R,a\n1,,0,b\n");
    EXPECT_EQ(run.exitStatus, 0);
    // At 30 points "[1]b" is (278 + 556 + 278 + 556) * 0.03 + 10 = 60.04 wide, one row lower.
    EXPECT_NE(run.out.find(R"({"node":"1","frame":[10,130,60.04,)"), std::string::npos) << run.out;
    EXPECT_EQ(runCommandLine("layout -", "").out, "");
}

TEST(RenderCommands, RefuseBadUsageWithStatusTwo) {
    const TempDir dir;
    const std::string tree = dir.write("t.csv", "0,,R,a\n");
    for (const std::string& arguments : {
             std::string("layout"),
             "layout " + tree + " " + tree,
             "layout " + tree + " --size 0",
             "layout " + tree + " --size abc",
             "layout " + tree + " --height 1.5",
             "layout " + tree + " --font",
             "layout " + tree + " --bold",
             "layout " + tree + " -o out.png",
             "export " + tree,
             "export " + tree + " -o out.gif",
             std::string("export -o out.png"),
         }) {
        const CommandResult run = runCommandLine(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_EQ(run.err.rfind("lanthor: ", 0), 0u) << arguments << ": " << run.err;
        EXPECT_NE(run.err.find("usage: lanthor"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists("out.png"));
}

TEST(RenderCommands, StopOnATreeFileThatDoesNotLoad) {
    const TempDir dir;
    const std::string broken = dir.write("broken.csv", "0,,R,\"open quote\n");
    const std::string picture = (dir.path() / "out.png").string();
    for (const std::string& command : {"layout " + broken, "export " + broken + " -o " + picture,
                                       "layout " + (dir.path() / "missing.csv").string()}) {
        const CommandResult run = runCommandLine(command);
        EXPECT_EQ(run.exitStatus, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err.rfind("error parsing file:\nlanthor: ", 0), 0u) << command << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(picture));
}

TEST(ExportCommand, WritesThePictureOrSaysWhyNot) {
    const TempDir dir;
    const std::string tree = dir.write("t.csv", "0,1,R,Top\n1,,0,x\n");
    const std::string picture = (dir.path() / "t.png").string();
    const CommandResult run = runCommandLine("export " + tree + " -o " + picture);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "[draw] nodes\n[draw] edges\n");
    EXPECT_EQ(readFile(picture).substr(0, 4), "\x89PNG");

    const std::string nowhere = (dir.path() / "no/such/folder/t.pdf").string();
    const CommandResult failed = runCommandLine("export " + tree + " -o " + nowhere);
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_NE(failed.err.find("lanthor: cannot write " + nowhere + ": "), std::string::npos)
        << failed.err;
}

} // namespace

} // namespace lanthor::test
