#include "model/TreeTable.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Lines = std::vector<std::string>;

TEST(TreeTable, LoadsRowsAndKeepsItsMapWhenThereAreNone) {
    const test::LogCapture log;
    TreeTable table;
    table.loadTableFromArray(std::nullopt); // without a map nothing can be added or deleted
    table.addNode(u"", u"New Tree!");
    table.deleteNode(u"0");
    EXPECT_EQ(table.nodeDictionary(), nullptr);
    // One field is skipped, two or three are padded, a sixth is ignored; the later of two equal
    // numbers wins and takes the later place.
    table.loadTableFromArray(CsvRows{{u"0", u"1 2", u"R", u"Top"},
                                     {u""},
                                     {u"1", u"", u"0", u"old"},
                                     {u"2", u"", u"1"},
                                     {u"3", u"4"},
                                     {u"1", u"", u"0", u"new", u"roof", u"ignored"}});
    table.loadTableFromArray(std::nullopt);
    EXPECT_EQ(table.saveTable(), u"0,1 2 ,R,Top\n2,,1,\n3,4 ,0,\n1,,0,new,roof\n");
    const std::shared_ptr<Tree> survivor = table.nodeDictionary()->find(u"0");
    table.loadTableFromArray(CsvRows{{u""}}); // the empty text's one row: an empty map
    EXPECT_TRUE(table.nodeDictionary()->empty());
    EXPECT_EQ(survivor->nodeValue(), u"Top"); // a node outlives its map, and its memory too
    EXPECT_EQ(log.lines(), (Lines{"error parsing file:", "Adding Node :New Tree! to )",
                                  "Deleting Node :0", "error parsing file:"}));
}

TEST(TreeTable, AddsTheFirstRootOrALastChildUnderTheNextFreeNumber) {
    TreeTable table;
    const auto next = [&table](std::u16string_view rows) {
        table.loadTable(rows);
        return table.nextNodeNumber();
    };
    EXPECT_EQ(next(u"0,\n2,\n"), u"3"); // from the node count up
    EXPECT_EQ(next(u"0,\n1,\n2,\n5,\n"), u"4");
    EXPECT_EQ(next(u"07,\na,\n"), u"2"); // keys that are not plain decimals never collide
    EXPECT_EQ(next(u""), u"0");
    const test::LogCapture log;
    table.addNode(u"anything", u"New Tree!"); // an empty table takes a root, whatever the parent
    table.addNode(u"0", u"New Node!");
    table.addNode(u"0", u"R"); // the text is not a flag
    table.addNode(u"", u"Orphan");
    table.addNode(std::nullopt, u"None");
    table.addNode(u"9", u"Missing");
    EXPECT_EQ(table.saveTable(), u"0,1 2 ,R,New Tree!\n1,,0,New Node!\n2,,0,R\n");
    EXPECT_EQ(
        log.lines(),
        (Lines{"Adding Node :New Tree! to anything)", "Adding Node :New Node! to 0)",
               "Adding Node :R to 0)", "Adding Node :Orphan to )", "Failed to add root node Orphan",
               "Adding Node :None to (null))", "Failed to add root node None",
               "Adding Node :Missing to 9)", "Failed to add root node Missing"}));
}

} // namespace
} // namespace lanthor
