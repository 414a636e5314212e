// Passes reuse the children found before while nothing changed: change them every way a command
// can.

#include "support/CanvasFixture.h"

namespace lanthor::test {
namespace {

using ChildLookup = CanvasFixture;

TEST_F(ChildLookup, SeesEveryChangeOfTheChildrenOrOfTheTable) {
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
