#include "model/TreeTable.h"
#include "support/LogCapture.h"
#include "support/NodeSnapshot.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lanthor {
namespace {

using test::describeNodes;
using test::LogCapture;
using test::readFile;
using test::TempDir;
using Lines = std::vector<std::string>;

TEST(TreeFile, LoadsWhatTheReaderGivesAndSavesOneRowPerNodeInMapOrder) {
    TreeTable table;
    EXPECT_EQ(table.saveTable(), u""); // no map
    // Quotes go and doubled quotes are reduced; blanks, backslashes and "#" stay; a last line
    // without a line break counts; rows may come in any order.
    ASSERT_EQ(table.loadTable(u"#1, 2  5 ,\t1 ,\" x,\"\"y\"\"\nz \"\n\\0,,R,a\\,b\n4, ,,"),
              std::nullopt);
    EXPECT_EQ(describeNodes(table), (Lines{"#1|2/5|h| x,\"y\"\nz ", "\\0||R|a\\", "4|||"}));
    EXPECT_EQ(table.saveTable(), u"#1,2 5 ,1,\" x,\"\"y\"\"\nz \"\n\\0,,R,a\\\n4,,0,\n");
    // New nodes come last, and a root's bold edge is not stored.
    table.nodeDictionary()->find(u"\\0")->setHead(true);
    const LogCapture log;
    table.addNode(u"#1", u"New Node!");
    EXPECT_EQ(table.saveTable(),
              u"#1,2 5 3 ,1,\" x,\"\"y\"\"\nz \"\n\\0,,R,a\\\n4,,0,\n3,,0,New Node!\n");
    EXPECT_EQ(treeFileBytes(u"0,\u00E9\U0001F600\n"),
              std::string("\xFF\xFE"
                          "0\0,\0\xE9\0\x3D\xD8\x00\xDE\n\0",
                          14));
}

TEST(TreeFile, SavesToAFileThatLoadsTheSameNodes) {
    const TempDir dir;
    std::u16string text = u"5,7 6 7 9 ,R,\"line\r\nbreak, \"\"q\"\"\"\n7,,1,\u00E9\U0001F600\n";
    for (int i = 5000; i > 0; --i) { // enough rows for several writes to the file
        text += toUtf16(std::to_string(i * 7 % 5003 + 10)) + u",,0,n\n";
    }
    TreeTable original;
    ASSERT_EQ(original.loadTable(text), std::nullopt);
    ASSERT_EQ(original.saveTableToFile(dir.file("tree.csv")), std::nullopt);
    EXPECT_EQ(readFile(dir.file("tree.csv")), treeFileBytes(text));
    TreeTable reloaded;
    ASSERT_EQ(reloaded.loadTableFromURL(dir.file("tree.csv")), std::nullopt);
    EXPECT_EQ(describeNodes(reloaded), describeNodes(original));
    // A UTF-8 file with other line ends loads the same way.
    ASSERT_EQ(reloaded.loadTableFromURL(dir.write("utf8.csv", "0,1,R,\xC3\xA9t\xC3\xA9\r\n1,,0,x")),
              std::nullopt);
    EXPECT_EQ(describeNodes(reloaded), (Lines{"0|1|R|\u00E9t\u00E9", "1|||x"}));
    // An empty file, with or without its mark, is an empty table.
    for (const std::string_view bytes : {"", "\xFF\xFE"}) {
        ASSERT_EQ(reloaded.loadTableFromURL(dir.write("empty.csv", bytes)), std::nullopt);
        EXPECT_TRUE(reloaded.nodeDictionary()->empty());
    }
}

TEST(TreeFile, AFileThatDoesNotLoadLeavesTheTableAndSaysWhy) {
    const TempDir dir;
    const struct {
        std::string name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"open.csv", treeFileBytes(u"9,,R,x\n0,,R,\"never closed\n1,,0,y\n"),
         "a quoted field in record 2 is never closed"},
        {"nul.csv", treeFileBytes(std::u16string(u"9,,R,x\n0,,R,a\0b\n1,,0,y\n", 21)),
         "a U+0000 character ends the text in record 2"},
        {"bytes.csv", "0,,R,\xC3\xA9" + std::string(600, 'a') + "\n1,,0,\xFF\n2,,0,b\n",
         "the bytes from offset 613 are not valid UTF-8 (record 2)"},
        {"grammar.csv", "0,,R,a\n1,\"b\"c,0,x\n",
         "record 2: Unexpected delimiter. Expected ',' (0x2C), but got 'c' (0x63)"},
        {"missing.csv", "", "cannot be read (No such file or directory)"},
    };
    for (const auto& c : cases) {
        const std::string path = c.bytes.empty() ? dir.file(c.name) : dir.write(c.name, c.bytes);
        TreeTable table;
        table.loadTable(u"5,,R,kept\n");
        const LogCapture log;
        const std::optional<TreeLoadError> error = table.loadTableFromURL(path);
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->describe(), path + ": " + c.message);
        EXPECT_EQ(log.lines(), Lines{"error parsing file:"});
        EXPECT_EQ(describeNodes(table), Lines{"5||R|kept"});
    }
    TreeTable fresh;
    const LogCapture log;
    EXPECT_EQ(fresh.loadTable(u"0,,R,\"open")->describe(),
              "a quoted field in record 1 is never closed");
    EXPECT_EQ(fresh.nodeDictionary(), nullptr);
}

TEST(TreeFile, AFailedSaveLeavesTheOldFileWhole) {
    const TempDir dir;
    TreeTable table;
    table.loadTable(u"0,,R,new\n");
    EXPECT_EQ(table.saveTableToFile(dir.file("missing/tree.csv")),
              "cannot create a file in " + dir.file("missing") + ": No such file or directory");
    // A folder in the way: the rename fails and the temporary file goes.
    const std::string blocked = dir.file("blocked");
    std::filesystem::create_directories(blocked + "/inside");
    const auto failure = table.saveTableToFile(blocked);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rfind("cannot replace " + blocked + ": ", 0), 0u) << *failure;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A file that existed keeps its permissions.
    const std::string existing = dir.write("tree.csv", "old");
    ::chmod(existing.c_str(), 0640);
    ASSERT_EQ(table.saveTableToFile(existing), std::nullopt);
    struct stat status {};
    ::stat(existing.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(readFile(existing), treeFileBytes(u"0,,R,new\n"));
}

} // namespace
} // namespace lanthor
