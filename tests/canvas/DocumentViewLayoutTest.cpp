#include "support/CanvasFixture.h"

#include <algorithm>
#include <map>
#include <random>

namespace lanthor::test {
namespace {

using Layout = CanvasFixture;

TEST_F(Layout, PlacesSlotsLeftToRightAndCentresParentsOverTheirChildren) {
    // Each real root where the one before it ends, in the table's order; unreached nodes get no
    // view.
    load(u"0,,R,aa\n1,,R,bbbb\n2,,0,unreached\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(10, 30, 30, 18));
    EXPECT_EQ(frame(u"1"), rect(40, 30, 50, 18));
    EXPECT_EQ(canvas->subviews(), (std::vector<std::shared_ptr<View>>{view(u"0"), view(u"1")}));
    // The worked example: labels 30, 20 and 40 wide.
    load(u"0,1 2,R,AB\n1,,0,B\n2,,0,CCC\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(20, 30, 30, 18));
    EXPECT_EQ(frame(u"1"), rect(10, 90, 20, 18));
    EXPECT_EQ(frame(u"2"), rect(30, 90, 40, 18));
    EXPECT_EQ(canvas->drawNode(node(u"0"), *table, 10, 0, 60), 60);
    // A missing child counts nowhere, nor does a second listing of a node already placed; the
    // parent stays inside its slot (10 to 40), not centred past its start.
    load(u"0,9 1 1,R,a\n1,,0,bb\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 90, 30, 18));
    EXPECT_EQ(frame(u"0"), rect(15, 30, 20, 18));
    // A parent wider than its children centres their slots under it: 100 over 20.
    load(u"0,1,R,wide node\n1,,0,a\n");
    pass();
    EXPECT_EQ(frame(u"1"), rect(50, 90, 20, 18));
    EXPECT_EQ(frame(u"0"), rect(10, 30, 100, 18));
}

TEST_F(Layout, ComputesInThirtyTwoBitIntegers) {
    // With 7 points per character the centres have halves: 10 + 8.5 and 27 + 8.5 give the
    // centre sum trunc(trunc(18.5) + 35.5) = 53, the mean 26, and the parent (17 wide) x 17.5.
    FixedWidthTextSystem sevens(7, 18);
    canvas = std::make_shared<LanthorDocumentView>(rect(0, 0, 100, 100), sevens);
    load(u"0,1 2,R,a\n1,,0,b\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"0"), rect(17.5, 30, 17, 18));
    EXPECT_EQ(canvas->drawNode(node(u"0"), *table, 10, 0, 60), 34);
    configuration->setHeight((std::int64_t{1} << 32) - 25); // only its low 32 bits count
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"2").origin.y, 5);
}

TEST_F(Layout, ReusesOneViewPerNodeAndKeepsAnEmptyLabelVisible) {
    load(u"0,1 2,R,old\n1,,0,\n2,,0,b\n");
    pass();
    const std::shared_ptr<LanthorNodeView> root = view(u"0");
    EXPECT_FALSE(root->drawsBackground() || root->isEditable() || root->isSelectable());
    EXPECT_EQ(frame(u"1"), rect(15, 90, 10, 18)); // the 10.0 alone, one line high
    node(u"0")->setNodeValue(u"longer");
    configuration->setFont(Font(u"Other", 20));
    canvas->redraw();
    pass();
    EXPECT_EQ(view(u"0"), root);
    EXPECT_EQ(root->textStorage().runs().front().attributes.font, Font(u"Other", 20));
    EXPECT_EQ(frame(u"1"), rect(30, 90, 10, 18)); // on every pass
    EXPECT_EQ(frame(u"2"), rect(40, 90, 20, 18));
    EXPECT_EQ(root->frame(), rect(10, 30, 70, 18));
    // Emptied, a label shows nothing of its old text.
    node(u"2")->setNodeValue(u"");
    canvas->redraw();
    pass();
    EXPECT_EQ(view(u"2")->textStorage().length(), 0u);
    EXPECT_EQ(frame(u"2"), rect(45, 90, 10, 18));
}

TEST_F(Layout, LaysEachNodeOutOncePerPassAndEndsOnCyclesAndVeryDeepTrees) {
    // 0 -> 1 -> 0 and 1 -> 1: an entry that names a node placed already is passed over.
    load(u"0,1,R,a\n1,0 1 2,0,b\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"2"), rect(10, 150, 20, 18));
    EXPECT_EQ(frame(u"0"), rect(10, 30, 20, 18));
    std::u16string chain = u"0,1,R,x\n";
    for (int i = 1; i < 100000; ++i) {
        chain += toUtf16(std::to_string(i)) + u"," + toUtf16(std::to_string(i + 1)) + u",0,x\n";
    }
    load(chain);
    pass();
    EXPECT_EQ(frame(u"99999").origin.y, 30.0 + 60.0 * 99999);
    // Each node listing the next twice: 2^60 paths, one placement each.
    std::u16string doubled;
    for (int i = 0; i < 60; ++i) {
        const std::u16string next = toUtf16(std::to_string(i + 1));
        doubled +=
            toUtf16(std::to_string(i)) + u"," + next + u" " + next + (i ? u",0,x\n" : u",R,x\n");
    }
    load(doubled + u"60,,0,x\n");
    pass();
    EXPECT_EQ(frame(u"60"), rect(10, 30 + 60 * 60, 20, 18));
}

TEST_F(Layout, NoTwoFramesOnARowOverlapInRandomTrees) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        // Parents come before their children; a few nodes are roots; labels 0 to 12 long.
        const int count = 1 + static_cast<int>(random() % 40);
        std::vector<std::u16string> children(count);
        std::u16string file;
        for (int i = 1; i < count; ++i) {
            if (random() % 6 != 0) {
                children[random() % i] += toUtf16(std::to_string(i)) + u" ";
            }
        }
        std::vector<bool> isChild(count, false);
        for (const std::u16string& list : children) {
            for (std::size_t at = 0; at < list.size(); at = list.find(u' ', at) + 1) {
                isChild[std::stoi(toUtf8(list.substr(at, list.find(u' ', at) - at)))] = true;
            }
        }
        for (int i = 0; i < count; ++i) {
            file += toUtf16(std::to_string(i)) + u"," + children[i] + u"," +
                    (isChild[i] ? u"0" : u"R") + u"," + std::u16string(random() % 13, u'w') + u"\n";
        }
        load(file);
        pass();
        std::map<double, std::vector<Rect>> rows;
        for (int i = 0; i < count; ++i) {
            rows[frame(toUtf16(std::to_string(i))).origin.y].push_back(
                frame(toUtf16(std::to_string(i))));
        }
        for (auto& [y, frames] : rows) {
            std::sort(frames.begin(), frames.end(),
                      [](const Rect& a, const Rect& b) { return a.origin.x < b.origin.x; });
            for (std::size_t i = 1; i < frames.size(); ++i) {
                ASSERT_LE(frames[i - 1].maxX(), frames[i].origin.x) << toUtf8(file);
            }
        }
    }
}

// Each pass reuses the children it found while nothing changed; change them every way there is.
TEST_F(Layout, SeesEveryChangeOfTheChildrenOrOfTheTable) {
    load(u"0,1 2 7,R,a\n1,,0,bb\n2,,0,c\n");
    pass();
    std::swap(node(u"0")->childrenList()[0], node(u"0")->childrenList()[1]); // changed in place
    canvas->redraw();
    EXPECT_EQ(pass().strokes[0].to, (Point{20, 90})); // to node 2 first
    EXPECT_EQ(frame(u"1").origin.x, 30);
    node(u"0")->childrenList().resize(1); // edges drawn on their own follow it too
    RecordingPainter edges;
    canvas->drawEdge(*node(u"0"), *table, edges);
    EXPECT_EQ(edges.strokes.size(), 1u);
    // A node that was missing, then one deleted.
    node(u"0")->childrenList() = {u"1", u"7"};
    table->nodeDictionary()->insert(std::make_shared<Tree>(u"7", u"", u"0", u"seven"));
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"7").origin.x, 40);
    table->deleteNode(u"1");
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"7").origin.x, 10);
    // A new table under the same numbers: new nodes, new views.
    const std::shared_ptr<LanthorNodeView> old = view(u"7");
    load(u"0,7,R,a\n7,,0,again\n");
    pass();
    EXPECT_NE(view(u"7"), old);
    EXPECT_EQ(view(u"7")->textStorage().string(), u"again");
}

} // namespace
} // namespace lanthor::test
