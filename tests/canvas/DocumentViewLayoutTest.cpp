#include "canvas/LayoutArithmetic.h"
#include "support/CanvasFixture.h"

#include <string>

namespace lanthor::test {

namespace {

using Layout = CanvasFixture;

TEST_F(Layout, PlacesRowsBySlotsAndCentresParentsOverTheirChildren) {
    // Labels 30, 20 and 40 wide: the worked example.
    load(u"0,1 2,R,AB\n1,,0,B\n2,,0,CCC\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(20, 30, 30, 18));
    EXPECT_EQ(frame(u"1"), rect(10, 90, 20, 18));
    EXPECT_EQ(frame(u"2"), rect(30, 90, 40, 18));
    EXPECT_EQ(canvas->drawNode(node(u"0"), *table, 10, 0, 60), 60);

    // A lone root sits at (10, 30) with its label's width; a parent with one child is centred
    // over it; a parent wider than its children reaches left of its slot, below zero.
    load(u"0,1,R," + std::u16string(9, u'W') + u"\n1,,0,x\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 20, 18));
    EXPECT_EQ(frame(u"0"), rect(-30, 30, 100, 18));
    load(u"0,,R,abc\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(10, 30, 40, 18));
}

TEST_F(Layout, TruncatesAsThirtyTwoBitIntegerArithmeticDoes) {
    // With 7 points per character the centres have halves: 10 + 8.5 and 27 + 8.5 give the
    // centre sum trunc(trunc(18.5) + 35.5) = 53, the mean 26, and the parent (17 wide) x 17.5.
    FixedWidthTextSystem sevens(7, 18);
    canvas = std::make_shared<LanthorDocumentView>(rect(0, 0, 100, 100), sevens);
    load(u"0,1 2,R,a\n1,,0,b\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 17, 18));
    EXPECT_EQ(frame(u"2"), rect(27, 90, 17, 18));
    EXPECT_EQ(frame(u"0"), rect(17.5, 30, 17, 18));
    EXPECT_EQ(canvas->drawNode(node(u"0"), *table, 10, 0, 60), 34);

    EXPECT_EQ(truncateToInt32(-2.9), -2);
    EXPECT_EQ(truncateToInt32(1e20), 2147483647);
    EXPECT_EQ(wrapToInt32(std::int64_t{2147483647} + 1), -2147483647 - 1);
}

TEST_F(Layout, RowsFollowTheConfiguredHeight) {
    configuration->setHeight(0);
    load(u"0,1,R,a\n1,2,0,b\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"2").origin.y, 30);
    configuration->setHeight(-25);
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"2").origin.y, -20);
    // Only the low 32 bits of the height count: 2^32 + 100 lays out as 100.
    configuration->setHeight((std::int64_t{1} << 32) + 100);
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"1").origin.y, 130);
}

TEST_F(Layout, SkipsMissingChildrenAndLaysOutEachListing) {
    // "9" is not in the table: it takes no room and does not count in the mean.
    load(u"0,9 1,R,a\n1,,0,bbb\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 40, 18));
    EXPECT_EQ(frame(u"0"), rect(20, 30, 20, 18));
    EXPECT_EQ(canvas->subviews().size(), 2u);

    // Listed twice, a node is laid out twice: its view ends where the second listing put it,
    // and both listings count in the parent's width and mean.
    load(u"0,1 1,R,a\n1,,0,bb\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(40, 90, 30, 18));
    EXPECT_EQ(frame(u"0"), rect(30, 30, 20, 18)); // mean of 25 and 55 is 40
    EXPECT_EQ(canvas->drawNode(node(u"0"), *table, 10, 0, 60), 60);
}

TEST_F(Layout, LaysOutEveryRealRootFromTheSameCorner) {
    load(u"0,,R,aa\n1,,R,bbbb\n2,,0,unreached\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(10, 30, 30, 18));
    EXPECT_EQ(frame(u"1"), rect(10, 30, 50, 18));
    EXPECT_EQ(view(u"2"), nullptr);
    ASSERT_EQ(canvas->subviews().size(), 2u);
    EXPECT_EQ(canvas->subviews()[0], view(u"0")); // in the table's order
}

TEST_F(Layout, AnEmptyLabelIsTenWideOnceThenTakesNoRoom) {
    load(u"0,1 2,R,a\n1,,0,\n2,,0,b\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 10, 0));
    EXPECT_EQ(frame(u"2"), rect(20, 90, 20, 18));
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 0, 0));
    EXPECT_EQ(frame(u"2"), rect(10, 90, 20, 18));
    // With node numbers the label is "[1]" and no longer empty.
    canvas->toggleNodeNumber();
    pass();
    EXPECT_EQ(frame(u"1").size, (Size{40, 18}));
    EXPECT_EQ(view(u"1")->textStorage().string(), u"[1]");
}

TEST_F(Layout, ReusesOneViewPerNodeAndRefreshesItsText) {
    load(u"0,1,R,old\n1,,0,b\n");
    pass();
    const std::shared_ptr<LanthorNodeView> root = view(u"0");
    EXPECT_EQ(root->underlyingNode(), node(u"0"));
    EXPECT_FALSE(root->drawsBackground());
    EXPECT_FALSE(root->isEditable());
    EXPECT_FALSE(root->isSelectable());

    node(u"0")->setNodeValue(u"longer");
    canvas->redraw();
    pass();
    EXPECT_EQ(view(u"0"), root);
    EXPECT_EQ(canvas->subviews().size(), 2u);
    EXPECT_EQ(root->textStorage().string(), u"longer");
    EXPECT_EQ(root->frame().size.width, 70);

    configuration->setFont(Font(u"Other", 20));
    canvas->redraw();
    pass();
    EXPECT_EQ(root->textStorage().runs().front().attributes.font, Font(u"Other", 20));

    // An unchanged label is neither read nor measured again, and comes out the same.
    const int readsBefore = text.reads;
    canvas->redraw();
    pass();
    EXPECT_EQ(text.reads, readsBefore);
    EXPECT_EQ(root->frame(), rect(-15, 30, 70, 18)); // centred over its 20-wide child
}

TEST_F(Layout, EndsOnCyclesAndOnVeryDeepTrees) {
    // 0 -> 1 -> 0 and 1 -> 1: an entry that names a node on the path is passed over.
    load(u"0,1,R,a\n1,0 1 2,0,b\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 20, 18));
    EXPECT_EQ(frame(u"2"), rect(10, 150, 20, 18));
    EXPECT_EQ(frame(u"0"), rect(10, 30, 20, 18));

    // A chain of 100,000 levels neither recurses nor overflows the stack.
    constexpr int kDepth = 100000;
    std::u16string chain;
    for (int i = 0; i < kDepth; ++i) {
        chain += toUtf16(std::to_string(i)) + u",";
        if (i + 1 < kDepth) {
            chain += toUtf16(std::to_string(i + 1));
        }
        chain += i == 0 ? u",R,x\n" : u",0,x\n";
    }
    load(chain);
    pass();
    EXPECT_EQ(frame(u"99999").origin.y, 30.0 + 60.0 * 99999);
}

} // namespace

} // namespace lanthor::test
