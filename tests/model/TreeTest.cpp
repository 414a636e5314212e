#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Children = std::vector<std::u16string>;

Children childrenOf(std::u16string_view column) {
    return Tree(u"0", column, u"0", u"").childrenList();
}

std::u16string childrenText(const Tree& node) {
    std::u16string text;
    node.appendChildrenText(text);
    return text;
}

TEST(Tree, ReadsTheChildrenAndFlagColumns) {
    EXPECT_EQ(childrenOf(u" 6  7 "), (Children{u"6", u"7"}));
    EXPECT_EQ(childrenOf(u"   "), Children{});
    EXPECT_EQ(childrenOf(u"2 1 2"), (Children{u"2", u"1", u"2"}));
    // Only the space separates; other blanks are trimmed at the ends, line breaks are not.
    EXPECT_EQ(childrenOf(u"\t3\t4\t"), Children{u"3\t4"});
    EXPECT_EQ(childrenOf(u"\u00A05\u3000 \u20006\u2000"), (Children{u"5\u3000", u"\u20006"}));
    EXPECT_EQ(childrenOf(u"\n1 2\r"), (Children{u"\n1", u"2\r"}));

    const auto flags = [](std::u16string_view flag) {
        const Tree node(u"0", u"", flag, u"");
        return std::string(node.head() ? "head" : "") + (node.realRoot() ? "root" : "");
    };
    EXPECT_EQ(flags(u"1"), "head");
    EXPECT_EQ(flags(u" R"), "root");
    EXPECT_EQ(flags(u"\t1\u00A0"), "head");
    for (const std::u16string_view other : {u"r", u"2", u"0", u"", u"R\n", u"1 R"}) {
        EXPECT_EQ(flags(other), "");
    }
}

TEST(Tree, WritesItsRowSoThatItReadsBackTheSame) {
    Tree node(u"0", u"1 2", u"R", u"Top");
    EXPECT_EQ(childrenText(node), u"1 2 ");
    node.setHead(true);
    EXPECT_EQ(node.flagText(), u"R"); // a root's bold edge is not stored
    node.setRealRoot(false);
    EXPECT_EQ(node.flagText(), u"1");
    node.setHead(false);
    EXPECT_EQ(node.flagText(), u"0");
    node.setChildrenList({u"", u"7", u"", u"3\t4"}); // empty entries are left out
    EXPECT_EQ(childrenText(node), u"7 3\t4 ");
    for (const Children& children : {Children{}, Children{u"1", u"2"}, Children{u"3", u"3"},
                                     Children{u"a\tb", u"\u00A0", u"2"}}) {
        node.setChildrenList(children);
        EXPECT_EQ(childrenOf(childrenText(node)), children);
    }
}

} // namespace
} // namespace lanthor
