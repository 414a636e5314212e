// The table's changes taken back and made again: deletions restored to their rows, moves,
// trees copied out and inserted under fresh numbers.

#include "model/TreeTable.h"
#include "model/TreeText.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Nodes = std::vector<std::shared_ptr<Tree>>;

Nodes nodesOf(const TreeTable& table) {
    Nodes nodes;
    table.nodeDictionary()->forEach([&nodes](const auto& node) { nodes.push_back(node); });
    return nodes;
}

/// "<prefix><i>": built by appending, which spares GCC 12 a false -Wrestrict.
std::u16string numbered(char16_t prefix, int i) {
    std::u16string number(1, prefix);
    number += toUtf16(std::to_string(i));
    return number;
}

TEST(TreeTableEdits, ADeletedSubtreeGoesBackToItsRowsAndEntries) {
    const test::LogCapture log;
    // 1's subtree sits in the middle of the rows; 2 lists 3 before 1 does, so the deletion takes
    // that entry too; 5 names a node that does not exist.
    TreeTable table;
    table.loadTable(
        u"0,1 5 2 ,R,top\n2,3 ,0,c\n1,3 4 ,0,a\n3,,1,a1\n5,6 x ,0,b\n4,,0,a2\n6,,0,b1\n");
    const std::u16string saved = table.saveTable();
    const Nodes loaded = nodesOf(table);
    SubtreeRemoval removal = table.deleteNode(u"1");
    EXPECT_EQ(table.saveTable(), u"0,5 2 ,R,top\n2,,0,c\n5,6 x ,0,b\n6,,0,b1\n");
    table.restore(std::move(removal));
    EXPECT_EQ(table.saveTable(), saved);
    EXPECT_EQ(nodesOf(table), loaded); // the same nodes, not copies
    EXPECT_TRUE(table.deleteNode(u"nothing").empty());

    // Most of a large table: the map closes its gaps before the deletion is taken back.
    std::u16string rows = u"0,a b ,R,\na,";
    for (int i = 0; i < 2000; ++i) {
        rows += numbered(u'a', i) + u' ';
    }
    rows += u",0,\nb,";
    for (int i = 0; i < 1000; ++i) {
        rows += numbered(u'b', i) + u' ';
    }
    rows += u",0,\n";
    for (int i = 0; i < 2000; ++i) {
        rows += numbered(u'a', i) + u",,0,\n";
        if (i % 2 == 1) {
            rows += numbered(u'b', i / 2) + u",,0,\n";
        }
    }
    table.loadTable(rows);
    const std::u16string large = table.saveTable();
    removal = table.deleteNode(u"a");
    EXPECT_EQ(table.nodeDictionary()->positionCount(), 1002u);
    table.restore(std::move(removal));
    EXPECT_EQ(table.saveTable(), large);
    EXPECT_EQ(table.nodeDictionary()->find(u"a1999")->nodeNumber(), u"a1999");
}

TEST(TreeTableEdits, MovesAreTakenBackAndMadeAgain) {
    TreeTable table;
    table.loadTable(u"0,1 2 3 2 ,R,\n1,4 ,0,\n2,,0,\n3,,0,\n4,,0,\n");
    const std::u16string loaded = table.saveTable();
    const auto node = [&table](std::u16string_view number) {
        return table.nodeDictionary()->find(number);
    };
    const auto children = [&node](std::u16string_view number) {
        std::u16string text;
        node(number)->appendChildrenText(text);
        return text;
    };
    // Every entry of the node leaves the old list; one goes in at the index asked for.
    std::optional<ChildMove> move = table.moveSubtree(u"2", *node(u"0"), *node(u"1"), 0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->removedAt, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(children(u"0") + u"| " + children(u"1"), u"1 3 | 2 4 ");
    const std::u16string moved = table.saveTable();
    table.moveBack(*move);
    EXPECT_EQ(table.saveTable(), loaded);
    table.moveAgain(*move);
    EXPECT_EQ(table.saveTable(), moved);
    table.moveBack(*move);

    // Among its own siblings the index counts without the node; past the end means last.
    move = table.moveSubtree(u"3", *node(u"0"), *node(u"0"), 0);
    EXPECT_EQ(children(u"0"), u"3 1 2 2 ");
    table.moveBack(*move);
    move = table.moveSubtree(u"1", *node(u"0"), *node(u"0"), 99);
    EXPECT_EQ(children(u"0"), u"2 3 2 1 ");
    EXPECT_EQ(move->insertedAt, 3u);
    table.moveBack(*move);
    EXPECT_EQ(table.moveSubtree(u"1", *node(u"0"), *node(u"0"), 0), std::nullopt);
    EXPECT_EQ(table.saveTable(), loaded);

    // Swap: the last wraps to the front; passing a twin changes nothing.
    move = table.moveRightAmongSiblings(*node(u"0"), u"1");
    EXPECT_EQ(children(u"0"), u"2 1 3 2 ");
    table.moveBack(*move);
    table.loadTable(u"0,1 2 1 ,R,\n1,,0,\n2,,0,\n");
    move = table.moveRightAmongSiblings(*node(u"0"), u"1");
    EXPECT_EQ(children(u"0"), u"2 1 1 ");
    EXPECT_EQ(table.moveRightAmongSiblings(*node(u"0"), u"1"), std::nullopt);
    table.moveBack(*move);
    EXPECT_EQ(children(u"0"), u"1 2 1 ");
}

TEST(TreeTableEdits, TreesAreCopiedOutAndInsertedUnderFreshNumbers) {
    TreeTable example;
    ASSERT_FALSE(example.loadTableFromURL(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv"));
    const std::shared_ptr<TreeTable> subject = example.copyTrees(u"1");
    EXPECT_EQ(subject->saveTable(), u"1,3 4 ,R,NP<sub>subj</sub>\n3,7 ,0,Det\n7,,0,<i>the</i>\n"
                                    u"4,8 ,1,N\n8,,0,<i>cat</i>\n");
    EXPECT_EQ(writeTreeText(*example.copyTrees(std::nullopt), TreeTextFormat::Brackets),
              writeTreeText(example, TreeTextFormat::Brackets));
    EXPECT_TRUE(example.copyTrees(u"99")->nodeDictionary()->empty());

    // 3 is taken and 5 is named by a list: neither is used.
    TreeTable table;
    table.loadTable(u"0,1 5 ,R,top\n1,,0,a\n3,,0,loose\n");
    const std::u16string loaded = table.saveTable();
    const std::optional<NodeInsertion> under = table.insertTrees(*subject, u"1");
    ASSERT_TRUE(under);
    EXPECT_EQ(under->numbers, (std::vector<std::u16string>{u"4", u"6", u"7", u"8", u"9"}));
    const std::u16string withSubject = u"0,1 5 ,R,top\n1,4 ,0,a\n3,,0,loose\n"
                                       u"4,6 8 ,0,NP<sub>subj</sub>\n6,7 ,0,Det\n7,,0,<i>the</i>\n"
                                       u"8,9 ,1,N\n9,,0,<i>cat</i>\n";
    EXPECT_EQ(table.saveTable(), withSubject);

    // Two trees from tree text: as new roots, then under a node.
    const auto read = readTreeText(u"[A [B] C] [D]", TreeTextFormat::Brackets);
    const TreeTable& text = *std::get<std::shared_ptr<TreeTable>>(read);
    const std::optional<NodeInsertion> roots = table.insertTrees(text, std::nullopt);
    ASSERT_TRUE(roots);
    EXPECT_EQ(table.saveTable(), withSubject + u"10,11 12 ,R,A\n11,,0,B\n12,,0,C\n13,,R,D\n");
    table.takeBack(*roots);
    const std::optional<NodeInsertion> twoTops = table.insertTrees(text, u"7");
    ASSERT_TRUE(twoTops);
    EXPECT_EQ(table.nodeDictionary()->find(u"7")->childrenList(),
              (std::vector<std::u16string>{u"10", u"13"}));
    EXPECT_EQ(twoTops->topCount, 2u);
    table.takeBack(*twoTops);
    EXPECT_EQ(table.saveTable(), withSubject);
    table.takeBack(*under);
    EXPECT_EQ(table.saveTable(), loaded);

    // Attributes come along; arrows follow their targets' new numbers, and one that leaves the
    // copied trees is dropped.
    TreeTable marked;
    marked.loadTable(u"0,1 2,R,S,arrow=2 x\n1,,0,a,roof arrow=0\n2,,0,b,arrow=1\n");
    const std::shared_ptr<TreeTable> branch = marked.copyTrees(u"1");
    EXPECT_EQ(branch->saveTable(), u"1,,R,a,roof\n");
    const std::optional<NodeInsertion> copied =
        table.insertTrees(*marked.copyTrees(std::nullopt), u"3");
    ASSERT_TRUE(copied);
    EXPECT_EQ(table.saveTable(), u"0,1 5 ,R,top\n1,,0,a\n3,4 ,0,loose\n4,6 7 ,0,S,arrow=7 x\n"
                                 u"6,,0,a,roof arrow=4\n7,,0,b,arrow=6\n");
    table.takeBack(*copied);

    EXPECT_EQ(table.insertTrees(text, u"99"), std::nullopt);
    EXPECT_EQ(table.insertTrees(TreeTable(), u"1"), std::nullopt);
    EXPECT_EQ(table.saveTable(), loaded);
}

} // namespace
} // namespace lanthor
