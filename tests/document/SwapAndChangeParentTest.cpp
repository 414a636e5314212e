#include "DocumentFixture.h"

namespace lanthor::test {

namespace {

constexpr std::u16string_view kTree =
    u"0,1 2 3,R,Top\n1,4 5,0,A\n2,6,0,B\n3,,0,C\n4,,1,D\n5,,0,E\n6,,0,F\n";

using SwapNode = EditorFixture;
using ChangeParent = EditorFixture;

TEST_F(SwapNode, MovesOnePlaceRightAndTheLastToTheFront) {
    load(kTree);
    click(u"1");
    resetCounts();
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"3"}));
    EXPECT_EQ(log.lines(), Lines{"Moving Node 1 to the right. Parent: 0. Sibling Count: 3"});
    EXPECT_EQ(redraws, 2); // the view's, then the document's
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"2", u"3"}));
    EXPECT_EQ(editNotices, 3);

    // The middle one becomes the last.
    click(u"2");
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"3", u"2"}));
}

TEST_F(SwapNode, AnOnlyChildStaysAndARootIsRefused) {
    load(kTree);
    click(u"6");
    resetCounts();
    document.swapNode();
    EXPECT_EQ(children(u"2"), Strings{u"6"});
    EXPECT_EQ(log.lines(), Lines{"Moving Node 6 to the right. Parent: 2. Sibling Count: 1"});
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editNotices, 0);

    click(u"0");
    resetCounts();
    document.swapNode();
    EXPECT_EQ(log.lines(), Lines{"Cannot locate parent node(s)"});
    EXPECT_EQ(redraws, 1); // the document's alone
    EXPECT_EQ(editNotices, 0);
    EXPECT_FALSE(document.isEdited());
}

TEST_F(SwapNode, MovesTheFirstOfRepeatedEntries) {
    load(u"0,1 2 1,R,Top\n1,,0,A\n2,,0,B\n");
    click(u"1");
    document.swapNode();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"1"}));
    document.swapNode(); // now [2, 1, 1]: 1 moves past its twin, which changes nothing
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"1"}));
    EXPECT_EQ(editNotices, 1);
}

TEST_F(ChangeParent, CancelMakesTheNodeTheLastChildOfItsParent) {
    load(kTree);
    click(u"1");
    resetCounts();
    alert.cancel();
    document.changeParent();
    EXPECT_EQ(alert.asked, Lines{"Select new Parent | 0"});
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    EXPECT_EQ(log.lines(), Lines{"Changing Parent Node :0 to 0)"});
    EXPECT_EQ(redraws, 1); // the document's alone
    EXPECT_EQ(editNotices, 1);

    // Already last: the same answer changes nothing.
    alert.ok(u"0");
    document.changeParent();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3", u"1"}));
    EXPECT_EQ(editNotices, 1);
}

TEST_F(ChangeParent, MovesTheWholeSubtreeToTheEndOfTheNewParent) {
    load(kTree);
    click(u"1");
    alert.ok(u"3");
    resetCounts();
    document.changeParent();
    EXPECT_EQ(log.lines(), Lines{"Changing Parent Node :0 to 3)"});
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"3"}));
    EXPECT_EQ(children(u"3"), Strings{u"1"});
    EXPECT_EQ(children(u"1"), (Strings{u"4", u"5"}));
    EXPECT_TRUE(node(u"4")->head());
    EXPECT_EQ(editNotices, 1);

    // Laid out again, the subtree hangs one level lower, below its new parent.
    layout();
    const double rowHeight = 60;
    EXPECT_EQ(view(u"1")->frame().minY(), view(u"3")->frame().minY() + rowHeight);
    EXPECT_EQ(view(u"4")->frame().minY(), view(u"1")->frame().minY() + rowHeight);
    EXPECT_GT(view(u"1")->frame().minX(), view(u"2")->frame().minX());
    EXPECT_LT(view(u"4")->frame().minX(), view(u"5")->frame().minX());
}

TEST_F(ChangeParent, RefusesTheNodeItselfItsSubtreeAndUnknownNumbers) {
    load(kTree);
    click(u"1");
    resetCounts();
    for (const char16_t* answer : {u"1", u"4", u"5", u" 3", u"3 ", u"9"}) {
        alert.ok(answer);
        document.changeParent();
    }
    EXPECT_EQ(log.lines(), Lines(6, "Cannot locate parent node(s)"));
    EXPECT_EQ(children(u"0"), (Strings{u"1", u"2", u"3"}));
    EXPECT_EQ(children(u"1"), (Strings{u"4", u"5"}));
    EXPECT_EQ(children(u"3"), Strings{});
    EXPECT_EQ(editNotices, 0);

    // A root is asked with an empty field and refused whatever the answer.
    click(u"0");
    resetCounts();
    alert.ok(u"3");
    document.changeParent();
    EXPECT_EQ(alert.asked.back(), "Select new Parent | ");
    EXPECT_EQ(log.lines(), Lines{"Cannot locate parent node(s)"});
    EXPECT_EQ(children(u"3"), Strings{});
}

TEST_F(ChangeParent, TheSubtreeTestEndsOnCyclesAndMissingNodes) {
    // 2 lists its own ancestor 1 and a number with no node; 3 lies outside the cycle.
    load(u"0,1 3,R,Top\n1,2,0,A\n2,1 9,0,B\n3,,0,C\n");
    click(u"1");
    alert.ok(u"2");
    alert.ok(u"3");
    resetCounts();
    document.changeParent();
    document.changeParent();
    EXPECT_EQ(log.lines(),
              (Lines{"Cannot locate parent node(s)", "Changing Parent Node :0 to 3)"}));
    EXPECT_EQ(children(u"3"), Strings{u"1"});
}

TEST_F(ChangeParent, RemovesEveryEntryOfTheNodeFromTheOldParent) {
    load(u"0,1 2 1,R,Top\n1,,0,A\n2,,0,B\n");
    click(u"1");
    alert.ok(u"2");
    document.changeParent();
    EXPECT_EQ(children(u"0"), Strings{u"2"});
    EXPECT_EQ(children(u"2"), Strings{u"1"});
}

} // namespace

} // namespace lanthor::test
