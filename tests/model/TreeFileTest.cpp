#include "model/TreeTable.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace std::string_literals;

namespace lanthor {
namespace {

using test::readFile;
using Lines = std::vector<std::string>;

// Saved files that load the same nodes are the fuzz target's check, replayed over its corpus.
TEST(TreeFile, LoadsWhatTheReaderGivesAndSavesOneRowPerNodeInMapOrder) {
    TreeTable table;
    // Quotes go and doubled quotes are reduced; blanks, backslashes and "#" stay; a last line
    // without a line break counts; rows may come in any order.
    ASSERT_EQ(table.loadTable(u"#1, 2  5 ,\t1 ,\" x,\"\"y\"\"\nz \"\n\\0,,R,a\\,b\n4, ,,"),
              std::nullopt);
    // New nodes come last, and a root's bold edge is not stored.
    table.nodeDictionary()->find(u"\\0")->setHead(true);
    const test::LogCapture log;
    table.addNode(u"#1", u"New Node!");
    EXPECT_EQ(table.saveTable(),
              u"#1,2 5 3 ,1,\" x,\"\"y\"\"\nz \"\n\\0,,R,a\\,b\n4,,0,\n3,,0,New Node!\n");
    EXPECT_EQ(treeFileBytes(u"0,\u00E9\U0001F600\n"),
              std::string("\377\3760\0,\0\351\0=\330\0\336\n\0", 14));
    // Many rows, streamed to the file through several writes and read back in many blocks.
    const test::TempDir dir;
    std::u16string text;
    for (int i = 5000; i > 0; --i) {
        text += toUtf16(std::to_string(i * 7 % 5003)) + u",,0,n\n";
    }
    ASSERT_EQ(table.loadTable(text), std::nullopt);
    ASSERT_EQ(table.saveTableToFile(dir.file("tree.csv")), std::nullopt);
    EXPECT_EQ(readFile(dir.file("tree.csv")), treeFileBytes(text));
    ASSERT_EQ(table.loadTableFromURL(dir.file("tree.csv")), std::nullopt);
    EXPECT_EQ(table.saveTable(), text);
    for (const std::string_view empty : {"", "\xFF\xFE"}) { // an empty file is an empty table
        ASSERT_EQ(table.loadTableFromURL(dir.write("empty.csv", empty)), std::nullopt);
        EXPECT_TRUE(table.nodeDictionary()->empty());
    }
}

TEST(TreeFile, WritesAFifthColumnOnlyForNodesWithAttributes) {
    TreeTable table;
    // A column of spaces holds no attributes; a sixth field is not read.
    ASSERT_EQ(table.loadTable(u"0,1 2,R,S,\"roof arrow=2 tint=\"\"a,b\"\"\",extra\n1,,0,NP,  \n"
                              u"2,,1,\"x, y\",\" future  item \"\n"),
              std::nullopt);
    EXPECT_EQ(table.saveTable(), u"0,1 2 ,R,S,\"roof arrow=2 tint=\"\"a,b\"\"\"\n1,,0,NP\n"
                                 u"2,,1,\"x, y\", future  item \n");
    table.nodeDictionary()->find(u"1")->attributes().set(u"roof");
    table.nodeDictionary()->find(u"2")->attributes().remove(u"future");
    EXPECT_EQ(table.saveTable(), u"0,1 2 ,R,S,\"roof arrow=2 tint=\"\"a,b\"\"\"\n1,,0,NP,roof\n"
                                 u"2,,1,\"x, y\",item\n");
}

TEST(TreeFile, AFileThatDoesNotLoadLeavesTheTableAndSaysWhy) {
    const test::TempDir dir;
    for (const auto& [name, bytes, message] : {
             std::tuple("open.csv", treeFileBytes(u"9,,R,x\n0,,R,\"open\n"),
                        "a quoted field in record 2 is never closed"),
             std::tuple("grammar.csv", "0,,R,a\n1,\"b\"c,0,x\n"s,
                        "record 2: Unexpected delimiter. Expected ',' (0x2C), but got 'c' (0x63)"),
             std::tuple("missing.csv", ""s, "cannot be read (No such file or directory)"),
         }) {
        const std::string path = bytes.empty() ? dir.file(name) : dir.write(name, bytes);
        TreeTable table;
        table.loadTable(u"5,,R,kept\n");
        const test::LogCapture log;
        EXPECT_EQ(table.loadTableFromURL(path)->describe(), path + ": " + message);
        EXPECT_EQ(log.lines(), Lines{"error parsing file:"});
        EXPECT_EQ(table.saveTable(), u"5,,R,kept\n");
    }
}

TEST(TreeFile, AFailedSaveLeavesTheOldFileWhole) {
    const test::TempDir dir;
    TreeTable table;
    table.loadTable(u"0,,R,new\n");
    EXPECT_EQ(table.saveTableToFile(dir.file("missing/tree.csv")),
              "cannot create a file in " + dir.file("missing") + ": No such file or directory");
    // A folder in the way: the rename fails and the temporary file goes.
    std::filesystem::create_directories(dir.file("blocked/inside"));
    EXPECT_EQ(table.saveTableToFile(dir.file("blocked"))
                  .value_or("")
                  .rfind("cannot replace " + dir.file("blocked") + ": ", 0),
              0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A file that existed keeps its permissions.
    const std::string existing = dir.write("tree.csv", "old");
    ::chmod(existing.c_str(), 0640);
    ASSERT_EQ(table.saveTableToFile(existing), std::nullopt);
    EXPECT_EQ(std::filesystem::status(existing).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(readFile(existing), treeFileBytes(u"0,,R,new\n"));
}

} // namespace
} // namespace lanthor
