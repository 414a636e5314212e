#include "support/CanvasFixture.h"

namespace lanthor::test {
namespace {

using DocumentView = CanvasFixture;

TEST_F(DocumentView, LaysOutOnlyInAPassAfterARedrawOrAToggleAndSaysWhenItHasNoTable) {
    canvas->setUpdated(true);
    EXPECT_EQ(pass().operations, Lines{"fill white"});
    EXPECT_TRUE(canvas->updated());
    load(u"0,1,R,a\n1,,0,b\n");
    EXPECT_EQ(pass().strokes.size(), 1u);
    EXPECT_FALSE(canvas->updated());
    EXPECT_EQ(log.take(), (Lines{"[draw_error] nil tree", "[draw] nodes", "[draw] edges"}));
    node(u"1")->setNodeValue(u"changed");
    const RecordingPainter idle = pass(); // white over the canvas, no layout, no edges
    EXPECT_EQ(idle.operations, Lines{"fill white"});
    EXPECT_EQ(frame(u"1").size.width, 20); // still measured as "b"
    // A redraw widens the canvas by 0.1; any change of size asks for a layout and a display.
    int displays = 0;
    canvas->setDisplayRequest([&displays] { ++displays; });
    for (int i = 0; i < 10; ++i) {
        canvas->redraw();
    }
    canvas->setFrameSize(canvas->frame().size);
    EXPECT_NEAR(canvas->frame().size.width, 501, 1e-9);
    EXPECT_EQ(displays, 10);
    canvas->toggleNodeNumber(); // sets `updated` and logs nothing
    pass();
    EXPECT_EQ(view(u"1")->textStorage().string(), u"[1]changed");
    // The configuration's own toggle, which nothing else calls, logs each change.
    configuration->toggleNodeNumber();
    configuration->toggleNodeNumber();
    EXPECT_EQ(log.lines(),
              (Lines{"[draw] nodes", "[draw] edges", "HIDING NODE #", "SHOWING NODE #"}));
}

TEST_F(DocumentView, AddsTheFirstRootOrAChildOfTheSelectionAndAClickOutsideUnselects) {
    load(u"");
    canvas->addNode();
    canvas->addNode(); // refused on a table with nodes, but the canvas still redraws
    pass();
    EXPECT_EQ(frame(u"0").origin, (Point{10, 30}));
    EXPECT_NEAR(canvas->frame().size.width, 500.2, 1e-9);
    EXPECT_EQ(log.take(),
              (Lines{"Adding Node :New Tree! to )", "Adding Node :New Tree! to )",
                     "Failed to add root node New Tree!", "[draw] nodes", "[draw] edges"}));
    view(u"0")->selectNode();
    canvas->setSelectedNode(view(u"0"));
    canvas->addNode();
    EXPECT_EQ(node(u"0")->childrenList(), std::vector<std::u16string>{u"1"});
    canvas->mouseDown(MouseEvent{{300, 300}, 1});
    EXPECT_FALSE(view(u"0")->nodeSelected());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
}

TEST_F(DocumentView, DisplaysNodeViewsOverThePassAndCoversWhatIsDrawn) {
    load(u"0,1,R,WWWWWWWWW\n1,,0,x\n");
    RecordingPainter painter;
    canvas->display(painter);
    EXPECT_EQ(painter.operations, (Lines{"fill white", "line black", "text", "text"}));
    EXPECT_EQ(painter.textRects[0], rect(15, 30, 90, 18)); // inside the padding of 5
    EXPECT_EQ(canvas->drawingBounds(), rect(0, 0, 500, 400));
    configuration->setHeight(-100); // a view above the origin is covered too
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"1"), rect(50, -70, 20, 18));
    EXPECT_EQ(canvas->drawingBounds(), rect(0, -70, canvas->frame().size.width, 470));
    configuration->setHeight(60);
    canvas->redraw();
    pass();
    view(u"1")->selectNode(); // gray under its text
    RecordingPainter selected;
    canvas->display(selected, rect(0, 80, 100, 40));
    EXPECT_EQ(selected.operations, (Lines{"fill white", "fill other", "text"}));
    EXPECT_EQ(selected.fills[1], rect(50, 90, 20, 18));
}

} // namespace
} // namespace lanthor::test
