#include "support/CanvasFixture.h"

namespace lanthor::test {

namespace {

// Each pass reuses the children it found on the pass before while nothing has changed; these
// tests change what it found in every way a command can, and expect to see the change.
using ChildLookupReuse = CanvasFixture;

TEST_F(ChildLookupReuse, SeesChangesToAChildrenListMadeInPlace) {
    load(u"0,1 2,R,a\n1,,0,bb\n2,,0,c\n");
    pass();
    EXPECT_EQ(frame(u"1").origin.x, 10);
    std::swap(node(u"0")->childrenList()[0], node(u"0")->childrenList()[1]);
    canvas->redraw();
    const RecordingPainter painter = pass();
    EXPECT_EQ(frame(u"2").origin.x, 10);
    EXPECT_EQ(frame(u"1").origin.x, 30);
    ASSERT_EQ(painter.strokes.size(), 2u);
    EXPECT_EQ(painter.strokes[0].to, (Point{20, 90})); // to node 2 first

    // Edges drawn on their own follow the list as it is now, without a new layout.
    node(u"0")->childrenList().pop_back();
    RecordingPainter edges;
    canvas->drawEdge(*node(u"0"), *table, edges);
    EXPECT_EQ(edges.strokes.size(), 1u);
}

TEST_F(ChildLookupReuse, SeesNodesAddedDeletedAndReplaced) {
    load(u"0,1 7,R,a\n1,,0,b\n");
    pass();
    // "7" was missing; now it exists.
    table->nodeDictionary()->insert(
        std::make_shared<Tree>(std::vector<std::u16string>{u"7", u"", u"0", u"seven"}));
    canvas->redraw();
    pass();
    ASSERT_TRUE(view(u"7"));
    EXPECT_EQ(frame(u"7").origin.x, 30);

    table->deleteNode(u"1");
    canvas->redraw();
    EXPECT_EQ(pass().strokes.size(), 1u);
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
