#include "model/Tree.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Children = std::vector<std::u16string>;

Tree row(std::u16string number, std::u16string children, std::u16string flag, std::u16string text) {
    return Tree(std::vector<std::u16string>{number, children, flag, text});
}

std::u16string childrenText(const Tree& node) {
    std::u16string text;
    node.appendChildrenText(text);
    return text;
}

TEST(Tree, ChildrenColumnIsTrimmedAndSplitAtSingleSpaces) {
    EXPECT_EQ(row(u"0", u" 6  7 ", u"0", u"").childrenList(), (Children{u"6", u"7"}));
    EXPECT_EQ(row(u"0", u"", u"0", u"").childrenList(), Children{});
    EXPECT_EQ(row(u"0", u"   ", u"0", u"").childrenList(), Children{});
    EXPECT_EQ(row(u"0", u"1 2 ", u"0", u"").childrenList(), (Children{u"1", u"2"}));
    // Only the space separates: a tab inside stays part of the entry, tabs at the ends go.
    EXPECT_EQ(row(u"0", u"\t3\t4\t", u"0", u"").childrenList(), Children{u"3\t4"});
    // Unicode space separators are trimmed at the ends but do not separate.
    EXPECT_EQ(row(u"0", u"\u00A05\u3000 \u20006\u2000", u"0", u"").childrenList(),
              (Children{u"5\u3000", u"\u20006"}));
    // Line breaks are not white space here: they stay in the entries.
    EXPECT_EQ(row(u"0", u"\n1 2\r", u"0", u"").childrenList(), (Children{u"\n1", u"2\r"}));
    // Duplicates stay, in order.
    EXPECT_EQ(row(u"0", u"2 1 2", u"0", u"").childrenList(), (Children{u"2", u"1", u"2"}));
}

TEST(Tree, FlagColumnIsTrimmedAndComparedExactly) {
    const auto flags = [](std::u16string flag) {
        const Tree node = row(u"0", u"", flag, u"");
        return std::pair(node.head(), node.realRoot());
    };
    EXPECT_EQ(flags(u"1"), std::pair(true, false));
    EXPECT_EQ(flags(u"R"), std::pair(false, true));
    EXPECT_EQ(flags(u" R"), std::pair(false, true));
    EXPECT_EQ(flags(u"\t1\u00A0"), std::pair(true, false));
    EXPECT_EQ(flags(u"r"), std::pair(false, false));
    EXPECT_EQ(flags(u"2"), std::pair(false, false));
    EXPECT_EQ(flags(u"0"), std::pair(false, false));
    EXPECT_EQ(flags(u""), std::pair(false, false));
    EXPECT_EQ(flags(u"R\n"), std::pair(false, false)); // line breaks are not trimmed
    EXPECT_EQ(flags(u"1 R"), std::pair(false, false));
}

TEST(Tree, NumberAndTextAreKeptExactly) {
    const Tree node = row(u" 4", u"", u"0", u" a, \"b\"\nc ");
    EXPECT_EQ(node.nodeNumber(), u" 4");
    EXPECT_EQ(node.nodeValue(), u" a, \"b\"\nc ");
    EXPECT_EQ(node.uiObject(), nullptr);
}

TEST(Tree, ExtraFieldsAreIgnoredAndMissingOnesReadAsEmpty) {
    const Tree five(std::vector<std::u16string>{u"3", u"4 5", u"1", u"text", u"more"});
    EXPECT_EQ(five.nodeNumber(), u"3");
    EXPECT_EQ(five.childrenList(), (Children{u"4", u"5"}));
    EXPECT_TRUE(five.head());
    EXPECT_EQ(five.nodeValue(), u"text");

    const Tree two(std::vector<std::u16string>{u"3", u"4"});
    EXPECT_EQ(two.childrenList(), Children{u"4"});
    EXPECT_FALSE(two.head());
    EXPECT_FALSE(two.realRoot());
    EXPECT_EQ(two.nodeValue(), u"");

    const Tree three(std::vector<std::u16string>{u"3", u"", u"R"});
    EXPECT_TRUE(three.realRoot());
    EXPECT_EQ(three.nodeValue(), u"");
}

TEST(Tree, RowAsWritten) {
    Tree node = row(u"0", u"1 2", u"R", u"Top");
    EXPECT_EQ(childrenText(node), u"1 2 ");
    EXPECT_EQ(node.flagText(), u"R");
    node.setHead(true); // a root's bold edge is not stored
    EXPECT_EQ(node.flagText(), u"R");
    node.setRealRoot(false);
    EXPECT_EQ(node.flagText(), u"1");
    node.setHead(false);
    EXPECT_EQ(node.flagText(), u"0");
    EXPECT_EQ(row(u"1", u"", u"2", u"").flagText(), u"0");

    // Empty entries are left out; every other entry is followed by one space.
    node.setChildrenList({u"", u"7", u"", u"3\t4"});
    EXPECT_EQ(childrenText(node), u"7 3\t4 ");
    node.setChildrenList({});
    EXPECT_EQ(childrenText(node), u"");
}

TEST(Tree, WrittenChildrenReadBackTheSame) {
    const Children lists[] = {{}, {u"1"}, {u"1", u"2"}, {u"3", u"3"}, {u"a\tb", u"\u00A0", u"2"}};
    for (const Children& children : lists) {
        Tree node = row(u"0", u"", u"0", u"");
        node.setChildrenList(children);
        EXPECT_EQ(row(u"0", childrenText(node), u"0", u"").childrenList(), children);
    }
}

} // namespace
} // namespace lanthor
