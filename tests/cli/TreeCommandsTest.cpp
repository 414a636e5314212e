// `lanthor dump` and `lanthor resave`, run as the real binary.

#include "model/TreeTable.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace lanthor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct CommandResult {
    int status;
    std::string out;
    std::string err;
};

/// Runs `lanthor` with `arguments` (shell words) in `dir`, standard input from `input`.
CommandResult lanthor(const TempDir& dir, const std::string& arguments,
                      const std::string& input = "") {
    writeBytes(dir.file("stdin"), input);
    const std::string command = "cd '" + dir.path().string() + "' && '" LANTHOR_BINARY "' " +
                                arguments + " <stdin >stdout 2>stderr";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(dir.file("stdout")),
            readBytes(dir.file("stderr"))};
}

std::string utf16File(std::u16string_view text) {
    return treeFileBytes(text);
}

TEST(TreeCommands, DumpPrintsNodesSortedByNumber) {
    TempDir dir;
    writeBytes(dir.file("tree.csv"),
               utf16File(u"2,,1,Right\n0,1 2 2 9 ,R,Top\n10,,0,\"a\tb\"\"\n\u00E9\"\n1,,0,Left\n"));
    const CommandResult run = lanthor(dir, "dump tree.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        run.out,
        R"({"number":"0","children":["1","2","2","9"],"head":false,"realRoot":true,"text":"Top"})"
        "\n"
        R"({"number":"1","children":[],"head":false,"realRoot":false,"text":"Left"})"
        "\n"
        R"({"number":"10","children":[],"head":false,"realRoot":false,"text":"a\tb\"\n)"
        "\xC3\xA9\"}\n"
        R"({"number":"2","children":[],"head":true,"realRoot":false,"text":"Right"})"
        "\n");

    // Standard input, UTF-8.
    const CommandResult piped = lanthor(dir, "dump -", "b,,R,x\na,b,0\n");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out,
              R"({"number":"a","children":["b"],"head":false,"realRoot":false,"text":""})"
              "\n"
              R"({"number":"b","children":[],"head":false,"realRoot":true,"text":"x"})"
              "\n");
}

TEST(TreeCommands, ResaveWritesTheEditorsBytes) {
    TempDir dir;
    writeBytes(dir.file("in.csv"), "5,6 7,R,\"x,y\"\r\n6,,1,\xC3\xA9\n7\n7,,0,\n");
    const CommandResult run = lanthor(dir, "resave in.csv out.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    const std::string saved = readBytes(dir.file("out.csv"));
    EXPECT_EQ(saved, utf16File(u"5,6 7 ,R,\"x,y\"\n6,,1,\u00E9\n7,,0,\n"));

    // Resaving the saved file changes nothing.
    EXPECT_EQ(lanthor(dir, "resave out.csv again.csv").status, 0);
    EXPECT_EQ(readBytes(dir.file("again.csv")), saved);
}

TEST(TreeCommands, AFileThatDoesNotLoadWritesNothing) {
    TempDir dir;
    writeBytes(dir.file("open.csv"), utf16File(u"0,,R,a\n1,,0,\"open\n"));
    writeBytes(dir.file("out.csv"), "old");

    const CommandResult dump = lanthor(dir, "dump open.csv");
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.out, "");
    EXPECT_EQ(
        dump.err,
        "error parsing file:\nlanthor: open.csv: a quoted field in record 2 is never closed\n");

    const CommandResult resave = lanthor(dir, "resave open.csv out.csv");
    EXPECT_EQ(resave.status, 1);
    EXPECT_EQ(resave.err, dump.err);
    EXPECT_EQ(readBytes(dir.file("out.csv")), "old");

    const CommandResult missing = lanthor(dir, "dump missing.csv");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "error parsing file:\nlanthor: missing.csv: cannot be read (No such "
                           "file or directory)\n");

    const CommandResult nul = lanthor(dir, "resave - new.csv", std::string("0,,R,a\0b\n", 9));
    EXPECT_EQ(nul.status, 1);
    EXPECT_EQ(nul.err,
              "error parsing file:\nlanthor: -: a U+0000 character ends the text in record 1\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.csv")));
}

TEST(TreeCommands, SaveFailuresAndBadUsage) {
    TempDir dir;
    writeBytes(dir.file("in.csv"), "0,,R,a\n");
    const CommandResult cannotSave = lanthor(dir, "resave in.csv missing/out.csv");
    EXPECT_EQ(cannotSave.status, 1);
    EXPECT_EQ(cannotSave.err,
              "lanthor: cannot create a file in missing: No such file or directory\n");

    const CommandResult noFile = lanthor(dir, "dump");
    EXPECT_EQ(noFile.status, 2);
    EXPECT_EQ(noFile.err.rfind("lanthor: dump needs exactly one FILE\nusage: lanthor", 0), 0u);
    EXPECT_EQ(lanthor(dir, "resave in.csv").status, 2);
    EXPECT_EQ(lanthor(dir, "dump a b").status, 2);
}

} // namespace
} // namespace lanthor
