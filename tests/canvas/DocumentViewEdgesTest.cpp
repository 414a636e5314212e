#include "support/CanvasFixture.h"

#include <sstream>

namespace lanthor::test {
namespace {

using Edges = CanvasFixture;

/// The lines drawn, as "(x,y)-(x,y) width".
Lines strokesOf(const RecordingPainter& painter) {
    Lines lines;
    for (const auto& [from, to, width] : painter.strokes) {
        std::ostringstream line;
        line << "(" << from.x << "," << from.y << ")-(" << to.x << "," << to.y << ") " << width;
        lines.push_back(line.str());
    }
    return lines;
}

TEST_F(Edges, JoinBottomCentresToTopCentresDepthFirst) {
    // Frames: 0 (20,30,30,18); 1 (10,90,20,18); 2 (30,90,40,18) over 3 (35,150,30,18).
    load(u"0,1 2,R,AB\n1,,0,B\n2,3,1,CCC\n3,,0,DD\n");
    const RecordingPainter painter = pass();
    EXPECT_EQ(painter.operations, (Lines{"fill white", "line black", "line black", "line black"}));
    EXPECT_EQ(strokesOf(painter),
              (Lines{"(35,48)-(20,90) 1", "(35,48)-(50,90) 2.5", "(50,108)-(50,150) 1"}));
    // A node with an empty text starts its edges at the top of its view.
    load(u"0,1,R,\n1,,0,b\n");
    pass();
    canvas->redraw();
    EXPECT_EQ(strokesOf(pass()), Lines{"(20,30)-(20,90) 1"});
}

TEST_F(Edges, GoBelowEachNodeOnceAndStillDrawEveryListing) {
    const auto edges = [this] {
        Lines lines;
        canvas->forEachEdge([&lines](const LanthorDocumentView::Edge& edge) {
            lines.push_back(toUtf8(edge.parent.nodeNumber() + u">" + edge.child.nodeNumber()));
        });
        return lines;
    };
    // Listed twice: two edges, one walk below; missing or unreached: never; back up a cycle:
    // the edge, not round again.
    load(u"0,1 9 1,R,a\n1,0 1,0,b\n5,1,0,d\n4,,R,r\n");
    pass();
    EXPECT_EQ(edges(), (Lines{"0>1", "1>0", "1>1", "0>1"}));
}

} // namespace
} // namespace lanthor::test
