// Each folder tests/golden/<command>/<case>/ is one run of the built binary, compared byte for
// byte; tests/golden/README.md says what the files of a case mean.

#include "qtsupport/RunLanthor.h"
#include "support/TempDir.h"

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace lanthor::test {

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> goldenCases() {
    std::vector<fs::path> cases;
    for (const auto& command : fs::directory_iterator(LANTHOR_SOURCE_DIR "/tests/golden")) {
        if (command.is_directory()) {
            for (const auto& entry : fs::directory_iterator(command)) {
                cases.push_back(entry.path());
            }
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

std::vector<std::string> argumentsIn(const fs::path& file) {
    std::vector<std::string> args;
    std::istringstream lines(readFile(file));
    for (std::string line; std::getline(lines, line);) {
        args.push_back(line);
    }
    return args;
}

/// What `folder` holds: each file's bytes, or a picture's size where `expected` gives a size.
std::map<std::string, std::string> contentsOf(const fs::path& folder,
                                              const std::map<std::string, std::string>& expected) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            contents[name] = "a folder";
        } else if (expected.contains(name + ".size")) {
            const QImage picture(QString::fromStdString(entry.path().string()));
            contents[name + ".size"] =
                std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + "\n";
        } else {
            contents[name] = readFile(entry.path());
        }
    }
    return contents;
}

class GoldenCommand : public ::testing::TestWithParam<fs::path> {};

TEST_P(GoldenCommand, PrintsAndWritesExactlyWhatIsExpected) {
    const fs::path& golden = GetParam();
    // The run sees copies of the inputs; afterwards its folder must hold them unchanged plus
    // the files that the case expects, and nothing else.
    const TempDir work;
    std::map<std::string, std::string> expected{{"err", ""}, {"status", "0\n"}};
    for (const auto& entry : fs::directory_iterator(golden)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("expected.")) {
            expected[name.substr(9)] = readFile(entry.path());
        } else if (name != "args" && name != "stdin") {
            expected.try_emplace(name, readFile(entry.path()));
            work.write(name, readFile(entry.path()));
        }
    }

    const CommandResult run =
        runLanthor({argumentsIn(golden / "args"), work.path().string(),
                    fs::exists(golden / "stdin") ? readFile(golden / "stdin") : ""});
    EXPECT_EQ(run.out, expected["out"]);
    EXPECT_EQ(run.err, expected["err"]);
    EXPECT_EQ(std::to_string(run.exitStatus) + "\n", expected["status"]);
    for (const char* stream : {"out", "err", "status"}) {
        expected.erase(stream);
    }
    EXPECT_EQ(contentsOf(work.path(), expected), expected);
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenCommand, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<fs::path>& golden) {
                             std::string name = golden.param.parent_path().filename().string() +
                                                "_" + golden.param.filename().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace

} // namespace lanthor::test
