#include "CanvasFixture.h"

namespace lanthor::test {
namespace {

using Edges = CanvasFixture;
using Lines = std::vector<std::string>;

/// Every edge of the last pass as "parent>child".
Lines edgesOf(const LanthorDocumentView& canvas) {
    Lines edges;
    canvas.forEachEdge([&edges](const LanthorDocumentView::Edge& edge) {
        edges.push_back(toUtf8(edge.parent.nodeNumber()) + ">" + toUtf8(edge.child.nodeNumber()));
    });
    return edges;
}

TEST_F(Edges, JoinBottomCentresToTopCentresDepthFirst) {
    // Frames: 0 (17,30,30,18); 1 (10,90,20,18); 2 (25,90,40,18) over 3 (30,150,30,18).
    load(u"0,1 2,R,AB\n1,,0,B\n2,3,1,CCC\n3,,0,DD\n");
    const RecordingPainter painter = pass();
    EXPECT_EQ(painter.operations, (Lines{"fill white", "line black", "line black", "line black"}));
    ASSERT_EQ(painter.strokes.size(), 3u);
    EXPECT_EQ(painter.strokes[0].from, (Point{32, 48}));
    EXPECT_EQ(painter.strokes[0].to, (Point{20, 90}));
    EXPECT_EQ(painter.strokes[0].width, 1.0);
    EXPECT_EQ(painter.strokes[1].to, (Point{45, 90}));
    EXPECT_EQ(painter.strokes[1].width, 2.5); // node 2's head flag
    EXPECT_EQ(painter.strokes[2].from, (Point{45, 108}));
    EXPECT_EQ(painter.strokes[2].to, (Point{45, 150}));
}

TEST_F(Edges, FollowTheChildrenListsAsTheyAreAndStopAtCycles) {
    // Listed twice: two edges; missing or unreached: none; both roots over node 2.
    load(u"0,2 9 2,R,a\n1,2,R,bbb\n2,,0,c\n5,2,0,d\n");
    pass();
    EXPECT_EQ(edgesOf(*canvas), (Lines{"0>2", "0>2", "1>2"}));
    // The edge back up to a node on the path is drawn; the walk does not go round again.
    load(u"0,1,R,a\n1,0 1,0,b\n");
    pass();
    EXPECT_EQ(edgesOf(*canvas), (Lines{"0>1", "1>0", "1>1"}));
    // An empty parent text starts its edges at the top of its view, which after the first pass
    // is (0, 0) in size and centred over the child.
    load(u"0,1,R,\n1,,0,b\n");
    pass();
    canvas->redraw();
    const RecordingPainter second = pass();
    ASSERT_EQ(second.strokes.size(), 1u);
    EXPECT_EQ(second.strokes[0].from, (Point{20, 30}));
    // A child without a view counts as the zero rectangle.
    table->addNode(u"1", u"late");
    RecordingPainter late;
    canvas->drawEdge(*node(u"1"), *table, late);
    ASSERT_EQ(late.strokes.size(), 1u);
    EXPECT_EQ(late.strokes[0].to, (Point{0, 0}));
}

} // namespace
} // namespace lanthor::test
