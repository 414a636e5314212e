#include "base/AtomicFile.h"
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
using test::readBytes;
using test::TempDir;
using test::writeBytes;
using Lines = std::vector<std::string>;

/// The file as the editor saves it: FF FE, then UTF-16LE.
std::string utf16File(std::u16string_view text) {
    return treeFileBytes(text);
}

TEST(TreeFile, SavesOneRowPerNodeInMapOrder) {
    TreeTable table;
    EXPECT_EQ(table.saveTable(), u""); // no map
    table.loadTable(u"");
    EXPECT_EQ(table.saveTable(), u"");
    table.loadTable(u"2,,1,Right\n0,1 2,R,Top\n1,,0,Left\n");
    EXPECT_EQ(table.saveTable(), u"2,,1,Right\n0,1 2 ,R,Top\n1,,0,Left\n");

    // Fields that need quotes get them; the others are written as they are.
    table.loadTable(u"0,,R,\"a, \"\"b\"\"\nc\"\n1, 3 ,0, x\\y \n#2,,0,\n");
    EXPECT_EQ(table.saveTable(), u"0,,R,\"a, \"\"b\"\"\nc\"\n1,3 ,0, x\\y \n#2,,0,\n");

    // New nodes come after the nodes read, and a root's bold edge is not stored.
    table.nodeDictionary()->find(u"0")->setHead(true);
    {
        LogCapture log;
        table.addNode(u"0", u"New Node!");
    }
    EXPECT_EQ(table.saveTable(),
              u"0,3 ,R,\"a, \"\"b\"\"\nc\"\n1,3 ,0, x\\y \n#2,,0,\n3,,0,New Node!\n");
}

TEST(TreeFile, TreeFileBytes) {
    EXPECT_EQ(treeFileBytes(u""), std::string("\xFF\xFE"));
    EXPECT_EQ(treeFileBytes(u"0,\u00E9\U0001F600\n"),
              std::string("\xFF\xFE"
                          "0\0,\0\xE9\0\x3D\xD8\x00\xDE\n\0",
                          14));
}

TEST(TreeFile, LoadKeepsWhatTheReaderDelivers) {
    TreeTable table;
    // Quotes are removed and doubled quotes reduced; blanks, backslashes and "#" stay; a last
    // line without a line break counts; rows may come in any order.
    EXPECT_EQ(table.loadTable(u"#1, 2  3 ,\t1 ,\" x,\"\"y\"\" \"\n\\0,,R,a\\,b\n4, ,,"),
              std::nullopt);
    EXPECT_EQ(describeNodes(table), (Lines{"#1|2/3|h| x,\"y\" ", "\\0||R|a\\", "4|||"}));
}

TEST(TreeFile, RoundTripThroughAFile) {
    TempDir dir;
    TreeTable original;
    ASSERT_EQ(original.loadTable(u"5,7 6 7 9 ,R,\"line\r\nbreak, \"\"q\"\"\"\n"
                                 u"7,,1,\u00E9\U0001F600\n6,,0,\n8,5,R,second root\n"),
              std::nullopt);
    original.nodeDictionary()->find(u"5")->setHead(true);
    const std::string path = dir.file("tree.csv");
    ASSERT_EQ(original.saveTableToFile(path), std::nullopt);
    EXPECT_EQ(readBytes(path), utf16File(original.saveTable()));

    TreeTable reloaded;
    ASSERT_EQ(reloaded.loadTableFromURL(path), std::nullopt);
    Lines expected = describeNodes(original);
    expected[0] = "5|7/6/7/9|R|line\r\nbreak, \"q\""; // a root's head is not stored
    EXPECT_EQ(describeNodes(reloaded), expected);

    // Saving an unchanged file gives the same bytes.
    const std::string again = dir.file("again.csv");
    ASSERT_EQ(reloaded.saveTableToFile(again), std::nullopt);
    EXPECT_EQ(readBytes(again), readBytes(path));
}

TEST(TreeFile, LoadsOtherEncodingsAndLineEndings) {
    TempDir dir;
    const Lines expected{"0|1|R|\u00E9t\u00E9", "1|||x"};
    const std::string utf8 = dir.file("utf8.csv");
    writeBytes(utf8, "0,1,R,\xC3\xA9t\xC3\xA9\r\n1,,0,x");
    TreeTable table;
    ASSERT_EQ(table.loadTableFromURL(utf8), std::nullopt);
    EXPECT_EQ(describeNodes(table), expected);

    const std::string bigEndian = dir.file("be.csv");
    std::string bytes = "\xFE\xFF";
    for (const char16_t unit : std::u16string_view(u"0,1,R,\u00E9t\u00E9\n1,,0,x\n")) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    writeBytes(bigEndian, bytes);
    ASSERT_EQ(table.loadTableFromURL(bigEndian), std::nullopt);
    EXPECT_EQ(describeNodes(table), expected);
}

TEST(TreeFile, AFileThatDoesNotLoadLeavesTheTableAndSaysWhy) {
    TempDir dir;
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"open.csv", utf16File(u"9,,R,x\n0,,R,\"never closed\n1,,0,y\n"),
         "a quoted field in record 2 is never closed"},
        {"nul.csv", utf16File(std::u16string(u"9,,R,x\n0,,R,a\0b\n1,,0,y\n", 21)),
         "a U+0000 character ends the text in record 2"},
        {"bytes.csv", "0,,R,\xC3\xA9" + std::string(600, 'a') + "\n1,,0,\xFF\n2,,0,b\n",
         "the bytes from offset 613 are not valid UTF-8 (record 2)"},
        {"grammar.csv", "0,,R,a\n1,\"b\"c,0,x\n",
         "record 2: Unexpected delimiter. Expected ',' (0x2C), but got 'c' (0x63)"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        writeBytes(path, c.bytes);
        TreeTable table;
        table.loadTable(u"5,,R,kept\n");
        LogCapture log;
        const std::optional<TreeLoadError> error = table.loadTableFromURL(path);
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->describe(), path + ": " + c.message);
        EXPECT_EQ(log.lines(), Lines{"error parsing file:"});
        EXPECT_EQ(describeNodes(table), Lines{"5||R|kept"}) << c.name;
    }

    TreeTable fresh;
    LogCapture log;
    const auto missing = fresh.loadTableFromURL(dir.file("missing.csv"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->describe(),
              dir.file("missing.csv") + ": cannot be read (No such file or directory)");
    EXPECT_EQ(fresh.nodeDictionary(), nullptr);

    const auto text = fresh.loadTable(u"0,,R,\"open");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->describe(), "a quoted field in record 1 is never closed");
    EXPECT_EQ(log.lines(), (Lines{"error parsing file:", "error parsing file:"}));
}

TEST(TreeFile, EmptyFileLoadsAnEmptyTable) {
    TempDir dir;
    const std::string path = dir.file("empty.csv");
    for (const std::string& bytes : {std::string(), std::string("\xFF\xFE")}) {
        writeBytes(path, bytes);
        TreeTable table;
        ASSERT_EQ(table.loadTableFromURL(path), std::nullopt);
        ASSERT_NE(table.nodeDictionary(), nullptr);
        EXPECT_TRUE(table.nodeDictionary()->empty());
    }
}

TEST(TreeFile, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    TreeTable table;
    table.loadTable(u"0,,R,new\n");

    const std::string nowhere = dir.file("missing/tree.csv");
    EXPECT_EQ(table.saveTableToFile(nowhere),
              "cannot create a file in " + dir.file("missing") + ": No such file or directory");

    // A folder in the way: the rename fails and the temporary file goes.
    const std::string blocked = dir.file("blocked");
    std::filesystem::create_directories(blocked + "/inside");
    const auto failure = table.saveTableToFile(blocked);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rfind("cannot replace " + blocked + ": ", 0), 0u) << *failure;
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u); // only the folder itself

    // A file that existed keeps its permissions.
    const std::string existing = dir.file("tree.csv");
    writeBytes(existing, "old");
    ::chmod(existing.c_str(), 0640);
    ASSERT_EQ(table.saveTableToFile(existing), std::nullopt);
    struct stat status {};
    ::stat(existing.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(readBytes(existing), utf16File(u"0,,R,new\n"));
}

TEST(TreeFile, ManyRowsKeepTheirOrder) {
    std::u16string text;
    for (int i = 5000; i > 0; --i) {
        text += toUtf16(std::to_string(i * 7 % 5003)) + u",,0,n\n";
    }
    TreeTable table;
    ASSERT_EQ(table.loadTable(text), std::nullopt);
    EXPECT_EQ(table.nodeDictionary()->size(), 5000u);
    EXPECT_EQ(table.saveTable(), text);
}

} // namespace
} // namespace lanthor
