#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Children = std::vector<std::u16string>;

Children childrenOf(std::u16string_view column) {
    return Tree(u"0", column, u"0", u"").childrenList();
}

TEST(Tree, ReadsAndWritesTheChildrenAndFlagColumns) {
    EXPECT_EQ(childrenOf(u" 6  7 6"), (Children{u"6", u"7", u"6"}));
    // Only the space separates; other blanks are trimmed at the ends, line breaks are not.
    EXPECT_EQ(childrenOf(u"\t3\t4\u3000"), Children{u"3\t4"});
    EXPECT_EQ(childrenOf(u"5\u3000 \u20006"), (Children{u"5\u3000", u"\u20006"}));
    EXPECT_EQ(childrenOf(u"\n1 2\r"), (Children{u"\n1", u"2\r"}));
    for (const auto& [flag, written] :
         {std::pair(u"1", u"1"), std::pair(u" R", u"R"), std::pair(u"\t1\u00A0", u"1"),
          std::pair(u"r", u"0"), std::pair(u"R\n", u"0"), std::pair(u"1 R", u"0")}) {
        EXPECT_EQ(Tree(u"0", u"", flag, u"").flagText(), written);
    }
    Tree node(u"0", u"", u"R", u"Top");
    node.setHead(true);
    EXPECT_EQ(node.flagText(), u"R"); // a root's bold edge is not stored
    // Every entry that is not empty, followed by one space; read back the same.
    node.setChildrenList({u"", u"7", u"", u"3\t4", u"\u00A0", u"7"});
    std::u16string text;
    node.appendChildrenText(text);
    EXPECT_EQ(text, u"7 3\t4 \u00A0 7 ");
    EXPECT_EQ(childrenOf(text), (Children{u"7", u"3\t4", u"\u00A0", u"7"}));
}

} // namespace
} // namespace lanthor
