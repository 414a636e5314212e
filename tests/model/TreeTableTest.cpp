#include "model/TreeTable.h"

#include "canvas/LanthorNodeView.h"
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

TEST(TreeTable, LoadTableFromArray) {
    LogCapture log;
    TreeTable table;
    EXPECT_EQ(table.nodeDictionary(), nullptr);

    // Short rows: one field is skipped, two or three are padded; the later of two equal
    // numbers wins and takes the later place.
    table.loadTableFromArray(CsvRows{{u"0", u"1 2", u"R", u"Top"},
                                     {u""},
                                     {u"1", u"", u"0", u"old"},
                                     {u"2", u"", u"1"},
                                     {u"3", u"4"},
                                     {u"1", u"", u"0", u"new", u"ignored"}});
    EXPECT_EQ(describeNodes(table), (Lines{"0|1/2|R|Top", "2||h|", "3|4||", "1|||new"}));

    // None keeps the map; the empty text's single row gives an empty one.
    table.loadTableFromArray(std::nullopt);
    EXPECT_EQ(describeNodes(table).size(), 4u);
    table.loadTableFromArray(CsvRows{{u""}});
    ASSERT_NE(table.nodeDictionary(), nullptr);
    EXPECT_TRUE(table.nodeDictionary()->empty());
    EXPECT_EQ(log.lines(), Lines{"error parsing file:"});
}

TEST(TreeTable, FailedFirstLoadLeavesNoMapAndNoWayToAdd) {
    LogCapture log;
    TreeTable table;
    table.loadTableFromArray(std::nullopt);
    EXPECT_EQ(table.nodeDictionary(), nullptr);
    table.addNode(u"", u"New Tree!");
    table.deleteNode(u"0");
    EXPECT_EQ(table.nodeDictionary(), nullptr);
    EXPECT_EQ(table.nextNodeNumber(), u"0");
    EXPECT_EQ(table.findParent(u"0"), nullptr);
    EXPECT_EQ(log.lines(),
              (Lines{"error parsing file:", "Adding Node :New Tree! to )", "Deleting Node :0"}));
}

TEST(TreeTable, NextNodeNumber) {
    const auto next = [](std::vector<std::u16string> keys) {
        CsvRows rows;
        for (auto& key : keys) {
            rows.push_back({key, u""});
        }
        return tableOf(rows).nextNodeNumber();
    };
    EXPECT_EQ(next({}), u"0");
    EXPECT_EQ(next({u"0", u"1", u"2"}), u"3");
    EXPECT_EQ(next({u"0", u"2"}), u"3");
    EXPECT_EQ(next({u"1", u"2", u"3"}), u"4");
    EXPECT_EQ(next({u"0", u"1", u"2", u"5"}), u"4");
    EXPECT_EQ(next({u"07", u"a"}), u"2"); // keys that are not plain decimals never collide
    EXPECT_EQ(next({u"2", u"3", u"4"}), u"5");
}

TEST(TreeTable, AddNode) {
    LogCapture log;
    TreeTable table = tableOf(CsvRows{{u""}});
    table.addNode(u"", u"New Tree!"); // an empty table takes a root, whatever the parent
    table.addNode(u"0", u"New Node!");
    table.addNode(u"0", u"Second");
    table.addNode(u"1", u"R"); // the text is not a flag
    table.addNode(u"", u"Orphan");
    table.addNode(std::nullopt, u"None");
    table.addNode(u"9", u"Missing");
    EXPECT_EQ(describeNodes(table),
              (Lines{"0|1/2|R|New Tree!", "1|3||New Node!", "2|||Second", "3|||R"}));
    EXPECT_EQ(log.lines(),
              (Lines{"Adding Node :New Tree! to )", "Adding Node :New Node! to 0)",
                     "Adding Node :Second to 0)", "Adding Node :R to 1)",
                     "Adding Node :Orphan to )", "Failed to add root node Orphan",
                     "Adding Node :None to (null))", "Failed to add root node None",
                     "Adding Node :Missing to 9)", "Failed to add root node Missing"}));

    TreeTable other = tableOf(CsvRows{{u""}});
    other.addNode(u"anything", u"x");
    EXPECT_EQ(describeNodes(other), Lines{"0||R|x"});
}

TEST(TreeTable, AddNodeSkipsNumbersInUse) {
    TreeTable table = tableOf(CsvRows{{u"1", u"", u"R", u"a"}, {u"2", u""}});
    LogCapture log;
    table.addNode(u"1", u"b");
    table.addNode(u"1", u"c");
    EXPECT_EQ(describeNodes(table), (Lines{"1|3/4|R|a", "2|||", "3|||b", "4|||c"}));
}

TEST(TreeTable, FindParent) {
    TreeTable table = tableOf(
        CsvRows{{u"0", u"1 2", u"R"}, {u"1", u"3 1"}, {u"2", u"3"}, {u"3", u""}, {u"4", u"9"}});
    const auto parentOf = [&table](std::optional<std::u16string> number) -> std::string {
        const auto parent = table.findParent(number);
        return parent ? toUtf8(parent->nodeNumber()) : "none";
    };
    EXPECT_EQ(parentOf(u"0"), "none"); // a root
    EXPECT_EQ(parentOf(u"2"), "0");
    EXPECT_EQ(parentOf(u"3"), "1"); // the first node in iteration order that lists it
    EXPECT_EQ(parentOf(u"1"), "0");
    EXPECT_EQ(parentOf(u"9"), "4"); // a dangling entry still matches
    EXPECT_EQ(parentOf(u"5"), "none");
    EXPECT_EQ(parentOf(u" 3"), "none"); // exact equality only
    EXPECT_EQ(parentOf(std::nullopt), "none");
}

TEST(TreeTable, DeleteNode) {
    const CsvRows rows{{u"0", u"1 2", u"R", u"root"},
                       {u"1", u"3 4"},
                       {u"2", u""},
                       {u"3", u""},
                       {u"4", u"5"},
                       {u"5", u""},
                       {u"6", u"7", u"R"},
                       {u"7", u""},
                       {u"8", u""}};
    LogCapture log;
    TreeTable table = tableOf(rows);
    table.deleteNode(u"3"); // a leaf
    EXPECT_EQ(describeNodes(table),
              (Lines{"0|1/2|R|root", "1|4||", "2|||", "4|5||", "5|||", "6|7|R|", "7|||", "8|||"}));
    table.deleteNode(u"1"); // a middle node with its subtree
    EXPECT_EQ(describeNodes(table), (Lines{"0|2|R|root", "2|||", "6|7|R|", "7|||", "8|||"}));
    table.deleteNode(u"0"); // a root; other roots and unreachable nodes stay
    EXPECT_EQ(describeNodes(table), (Lines{"6|7|R|", "7|||", "8|||"}));
    EXPECT_EQ(log.lines(), (Lines{"Deleting Node :3", "Deleting Node :1", "Deleting Node :4",
                                  "Deleting Node :5", "Deleting Node :0", "Deleting Node :2"}));
}

TEST(TreeTable, DeleteNodeUnlinksOnlyTheFirstEntry) {
    LogCapture log;
    TreeTable table = tableOf(
        CsvRows{{u"0", u"1 9 1", u"R"}, {u"1", u"2"}, {u"2", u""}, {u"3", u"9"}, {u"4", u""}});
    table.deleteNode(u"1"); // listed twice: the second entry stays, dangling
    EXPECT_EQ(describeNodes(table), (Lines{"0|9/1|R|", "3|9||", "4|||"}));
    table.deleteNode(u"9"); // not a key: only its first entry goes
    EXPECT_EQ(describeNodes(table), (Lines{"0|1|R|", "3|9||", "4|||"}));
    table.deleteNode(u"7"); // neither key nor entry
    table.deleteNode(std::nullopt);
    EXPECT_EQ(describeNodes(table), (Lines{"0|1|R|", "3|9||", "4|||"}));
    EXPECT_EQ(log.lines(), (Lines{"Deleting Node :1", "Deleting Node :2", "Deleting Node :9",
                                  "Deleting Node :7", "Deleting Node :(null)"}));
}

TEST(TreeTable, DeleteNodeOnCycles) {
    LogCapture log;
    // A node that lists itself is deleted once: its own entry goes before its list is copied.
    TreeTable self = tableOf(CsvRows{{u"0", u"0 1", u"R"}, {u"1", u""}});
    self.deleteNode(u"0");
    EXPECT_EQ(describeNodes(self), Lines{});
    EXPECT_EQ(log.take(), (Lines{"Deleting Node :0", "Deleting Node :1"}));

    // 2 is listed by 1 before 3 lists it, so deleting 2 unlinks it from 1 and 3's entry is
    // found again on the way round the cycle 2 -> 3 -> 2.
    TreeTable cycle = tableOf(CsvRows{{u"1", u"2"}, {u"2", u"3"}, {u"3", u"2 4"}, {u"4", u""}});
    cycle.deleteNode(u"2");
    EXPECT_EQ(describeNodes(cycle), Lines{"1|||"});
    EXPECT_EQ(log.take(), (Lines{"Deleting Node :2", "Deleting Node :3", "Deleting Node :2",
                                 "Deleting Node :4"}));
}

TEST(TreeTable, DeletedNodesLeaveTheirViews) {
    auto canvas = std::make_shared<View>();
    TreeTable table =
        tableOf(CsvRows{{u"0", u"1", u"R"}, {u"1", u"2"}, {u"2", u""}, {u"3", u"", u"R"}});
    std::vector<std::shared_ptr<LanthorNodeView>> views;
    table.nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
        auto view = std::make_shared<LanthorNodeView>(Rect{});
        view->setUnderlyingNode(node);
        node->setUiObject(view);
        canvas->addSubview(view);
        views.push_back(view);
    });
    const std::shared_ptr<Tree> middle = table.nodeDictionary()->find(u"1");
    LogCapture log;
    table.deleteNode(u"1");
    for (int deleted : {1, 2}) {
        EXPECT_EQ(views[deleted]->superview(), nullptr);
        EXPECT_EQ(views[deleted]->underlyingNode(), nullptr);
    }
    EXPECT_EQ(middle->uiObject(), nullptr);
    EXPECT_EQ(middle->childrenList(), std::vector<std::u16string>{}); // its entry was unlinked
    EXPECT_EQ(canvas->subviews(), (std::vector<std::shared_ptr<View>>{views[0], views[3]}));
    EXPECT_EQ(views[0]->underlyingNode()->childrenList(), std::vector<std::u16string>{});
}

} // namespace
} // namespace lanthor
