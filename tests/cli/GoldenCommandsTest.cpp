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

/// The value under `key`, taken out of `map`; empty when there is none.
std::string take(std::map<std::string, std::string>& map, const std::string& key) {
    auto node = map.extract(key);
    return node ? node.mapped() : std::string();
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
    std::map<std::string, std::string> expectedFiles;
    for (const auto& entry : fs::directory_iterator(golden)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("expected.")) {
            expectedFiles[name.substr(9)] = readFile(entry.path());
        } else if (name != "args" && name != "stdin") {
            expectedFiles.try_emplace(name, readFile(entry.path()));
            work.write(name, readFile(entry.path()));
        }
    }
    ASSERT_TRUE(expectedFiles.contains("out")) << "no expected.out in " << golden;
    const std::string out = take(expectedFiles, "out");
    const std::string err = take(expectedFiles, "err");
    const std::string status = take(expectedFiles, "status");

    const CommandResult run =
        runLanthor({argumentsIn(golden / "args"), work.path().string(),
                    fs::exists(golden / "stdin") ? readFile(golden / "stdin") : ""});
    EXPECT_EQ(run.out, out);
    EXPECT_EQ(run.err, err);
    EXPECT_EQ(run.exitStatus, status.empty() ? 0 : std::stoi(status));
    EXPECT_EQ(contentsOf(work.path(), expectedFiles), expectedFiles);
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
