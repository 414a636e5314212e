#include "support/CanvasFixture.h"

namespace lanthor::test {

namespace {

using Edges = CanvasFixture;

TEST_F(Edges, JoinBottomCentresToTopCentresDepthFirst) {
    // Frames: 0 (17,30,30,18); 1 (10,90,20,18); 2 (25,90,40,18) over 3 (30,150,30,18).
    load(u"0,1 2,R,AB\n1,,0,B\n2,3,1,CCC\n3,,0,DD\n");
    const RecordingPainter painter = pass();
    ASSERT_EQ(painter.strokes.size(), 3u);
    EXPECT_EQ(painter.strokes[0].from, (Point{32, 48}));
    EXPECT_EQ(painter.strokes[0].to, (Point{20, 90}));
    EXPECT_EQ(painter.strokes[0].width, 1.0);
    EXPECT_EQ(painter.strokes[1].from, (Point{32, 48}));
    EXPECT_EQ(painter.strokes[1].to, (Point{45, 90}));
    EXPECT_EQ(painter.strokes[1].width, 2.5); // node 2's head flag
    EXPECT_EQ(painter.strokes[2].from, (Point{45, 108}));
    EXPECT_EQ(painter.strokes[2].to, (Point{45, 150}));
    EXPECT_EQ(painter.operations,
              (std::vector<std::string>{"fill white", "line black", "line black", "line black"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[draw] nodes", "[draw] edges"}));
}

TEST_F(Edges, FollowTheChildrenListsAsTheyAre) {
    // Listed twice: two identical edges. Missing: none. Unreached and leaf nodes: none.
    load(u"0,1 9 1,R,a\n1,,0,b\n5,1,0,c\n");
    const RecordingPainter painter = pass();
    ASSERT_EQ(painter.strokes.size(), 2u);
    EXPECT_EQ(painter.strokes[0].from, painter.strokes[1].from);
    EXPECT_EQ(painter.strokes[0].to, painter.strokes[1].to);

    // An empty parent text starts its edges at the top of its view, which after the first pass
    // is (0, 0) in size and centred over the child.
    load(u"0,1,R,\n1,,0,b\n");
    pass();
    canvas->redraw();
    const RecordingPainter second = pass();
    ASSERT_EQ(second.strokes.size(), 1u);
    EXPECT_EQ(second.strokes[0].from, (Point{20, 30}));
    EXPECT_EQ(second.strokes[0].to, (Point{20, 90}));
}

TEST_F(Edges, DrawEachRootsEdgesAndStopAtCycles) {
    load(u"0,2,R,a\n1,2,R,bbb\n2,,0,c\n");
    const RecordingPainter painter = pass();
    ASSERT_EQ(painter.strokes.size(), 2u);
    EXPECT_EQ(painter.strokes[0].from, (Point{20, 48}));
    EXPECT_EQ(painter.strokes[1].from, (Point{20, 48})); // both roots centred over node 2

    // The edge back up to a node on the path is drawn; the walk does not go round again.
    load(u"0,1,R,a\n1,0 1,0,b\n");
    std::vector<std::pair<std::u16string, std::u16string>> edges;
    pass();
    canvas->forEachEdge([&](const LanthorDocumentView::Edge& edge) {
        edges.emplace_back(edge.parent.nodeNumber(), edge.child.nodeNumber());
    });
    EXPECT_EQ(edges, (std::vector<std::pair<std::u16string, std::u16string>>{
                         {u"0", u"1"}, {u"1", u"0"}, {u"1", u"1"}}));
}

TEST_F(Edges, CountANodeWithoutAViewAsTheZeroRectangle) {
    // Node 1 gains a child after the pass; drawn on its own, the edge ends at (0, 0).
    load(u"0,1,R,a\n1,,0,b\n");
    pass();
    table->addNode(u"1", u"late");
    RecordingPainter painter;
    canvas->drawEdge(*node(u"1"), *table, painter);
    ASSERT_EQ(painter.strokes.size(), 1u);
    EXPECT_EQ(painter.strokes[0].to, (Point{0, 0}));
}

} // namespace

} // namespace lanthor::test
