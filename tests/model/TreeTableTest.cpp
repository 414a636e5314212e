#include "model/TreeTable.h"

#include "support/LogCapture.h"
#include "support/NodeSnapshot.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using test::describeNodes;
using test::LogCapture;
using Lines = std::vector<std::string>;

TreeTable tableOf(const CsvRows& rows) {
    TreeTable table;
    table.loadTableFromArray(rows);
    return table;
}

TEST(TreeTable, LoadsRowsAndKeepsItsMapWhenThereAreNone) {
    LogCapture log;
    TreeTable table;
    // Without a map (a failed first load) nothing can be added or deleted.
    table.loadTableFromArray(std::nullopt);
    table.addNode(u"", u"New Tree!");
    table.deleteNode(u"0");
    EXPECT_EQ(table.nodeDictionary(), nullptr);
    EXPECT_EQ(table.nextNodeNumber(), u"0");
    // One field is skipped, two or three are padded, a fifth is ignored; the later of two equal
    // numbers wins and takes the later place.
    table.loadTableFromArray(CsvRows{{u"0", u"1 2", u"R", u"Top"},
                                     {u""},
                                     {u"1", u"", u"0", u"old"},
                                     {u"2", u"", u"1"},
                                     {u"3", u"4"},
                                     {u"1", u"", u"0", u"new", u"ignored"}});
    EXPECT_EQ(describeNodes(table), (Lines{"0|1/2|R|Top", "2||h|", "3|4||", "1|||new"}));
    table.loadTableFromArray(std::nullopt);
    EXPECT_EQ(describeNodes(table).size(), 4u);
    table.loadTableFromArray(CsvRows{{u""}}); // the empty text's one row: an empty map
    EXPECT_TRUE(table.nodeDictionary()->empty());
    EXPECT_EQ(log.lines(), (Lines{"error parsing file:", "Adding Node :New Tree! to )",
                                  "Deleting Node :0", "error parsing file:"}));
}

TEST(TreeTable, NextNodeNumberIsTheFirstFreeDecimalFromTheNodeCount) {
    const auto next = [](std::vector<std::u16string> keys) {
        CsvRows rows;
        for (auto& key : keys) {
            rows.push_back({key, u""});
        }
        return tableOf(rows).nextNodeNumber();
    };
    EXPECT_EQ(next({}), u"0");
    EXPECT_EQ(next({u"0", u"2"}), u"3");
    EXPECT_EQ(next({u"1", u"2", u"3"}), u"4");
    EXPECT_EQ(next({u"0", u"1", u"2", u"5"}), u"4");
    EXPECT_EQ(next({u"07", u"a"}), u"2"); // keys that are not plain decimals never collide
}

TEST(TreeTable, AddNodeMakesTheFirstRootOrALastChild) {
    LogCapture log;
    TreeTable table = tableOf(CsvRows{{u""}});
    table.addNode(u"anything", u"New Tree!"); // an empty table takes a root, whatever the parent
    table.addNode(u"0", u"New Node!");
    table.addNode(u"0", u"Second");
    table.addNode(u"1", u"R"); // the text is not a flag
    table.addNode(u"", u"Orphan");
    table.addNode(std::nullopt, u"None");
    table.addNode(u"9", u"Missing");
    EXPECT_EQ(describeNodes(table),
              (Lines{"0|1/2|R|New Tree!", "1|3||New Node!", "2|||Second", "3|||R"}));
    EXPECT_EQ(log.lines(),
              (Lines{"Adding Node :New Tree! to anything)", "Adding Node :New Node! to 0)",
                     "Adding Node :Second to 0)", "Adding Node :R to 1)",
                     "Adding Node :Orphan to )", "Failed to add root node Orphan",
                     "Adding Node :None to (null))", "Failed to add root node None",
                     "Adding Node :Missing to 9)", "Failed to add root node Missing"}));
    // Numbers in use are skipped.
    TreeTable gaps = tableOf(CsvRows{{u"1", u"", u"R", u"a"}, {u"2", u""}});
    gaps.addNode(u"1", u"b");
    gaps.addNode(u"1", u"c");
    EXPECT_EQ(describeNodes(gaps), (Lines{"1|3/4|R|a", "2|||", "3|||b", "4|||c"}));
}

TEST(TreeTable, FindParentIsTheFirstNodeThatListsTheNumber) {
    TreeTable table = tableOf(
        CsvRows{{u"0", u"1 2", u"R"}, {u"1", u"3 1"}, {u"2", u"3"}, {u"3", u""}, {u"4", u"9"}});
    const auto parentOf = [&table](std::optional<std::u16string> number) -> std::string {
        const auto parent = table.findParent(number);
        return parent ? toUtf8(parent->nodeNumber()) : "none";
    };
    EXPECT_EQ(parentOf(u"0"), "none");
    EXPECT_EQ(parentOf(u"3"), "1"); // in iteration order
    EXPECT_EQ(parentOf(u"1"), "0");
    EXPECT_EQ(parentOf(u"9"), "4"); // a dangling entry still matches
    EXPECT_EQ(parentOf(u" 3"), "none");
    EXPECT_EQ(parentOf(std::nullopt), "none");
}

} // namespace
} // namespace lanthor
