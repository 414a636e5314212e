#include "support/CanvasFixture.h"

namespace lanthor::test {

namespace {

using DocumentView = CanvasFixture;

TEST_F(DocumentView, LaysOutOnlyWhileUpdatedIsSet) {
    EXPECT_TRUE(canvas->isFlipped());
    load(u"0,1,R,a\n1,,0,b\n");
    EXPECT_EQ(pass().strokes.size(), 1u);
    EXPECT_FALSE(canvas->updated());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[draw] nodes", "[draw] edges"}));

    // Not updated: white over the canvas, no layout, no edges.
    node(u"1")->setNodeValue(u"changed");
    const RecordingPainter idle = pass();
    EXPECT_EQ(idle.operations, std::vector<std::string>{"fill white"});
    EXPECT_EQ(idle.fills, std::vector<Rect>{rect(0, 0, 500, 400)});
    EXPECT_EQ(view(u"1")->textStorage().string(), u"b");
    EXPECT_EQ(log.lines().size(), 2u);

    // Any change of size asks for a layout.
    canvas->setFrameSize({300, 300});
    EXPECT_TRUE(canvas->updated());
    pass();
    EXPECT_EQ(view(u"1")->textStorage().string(), u"changed");
}

TEST_F(DocumentView, ReportsAMissingTableOnEveryPass) {
    canvas->setUpdated(true);
    EXPECT_EQ(pass().operations, std::vector<std::string>{"fill white"});
    pass();
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"[draw_error] nil tree", "[draw_error] nil tree"}));
    EXPECT_TRUE(canvas->updated());
    {
        auto gone = std::make_shared<TreeTable>();
        canvas->setTreeTable(gone);
    }
    EXPECT_EQ(canvas->mTreeTable(), nullptr); // the canvas does not keep the table alive
}

TEST_F(DocumentView, RedrawWidensTheCanvasAndAsksForDisplay) {
    int displays = 0;
    canvas->setDisplayRequest([&displays] { ++displays; });
    canvas->redraw();
    EXPECT_TRUE(canvas->updated());
    EXPECT_EQ(canvas->frame().size, (Size{500.1, 400}));
    for (int i = 0; i < 9; ++i) {
        canvas->redraw();
    }
    EXPECT_NEAR(canvas->frame().size.width, 501, 1e-9);
    EXPECT_EQ(displays, 10);
    canvas->setFrameSize(canvas->frame().size);
    EXPECT_EQ(displays, 10); // no change of size, nothing to display again
}

TEST_F(DocumentView, AddNodeMakesTheFirstRootOrAChildOfTheSelection) {
    load(u"");
    canvas->addNode();
    pass();
    ASSERT_TRUE(node(u"0"));
    EXPECT_EQ(node(u"0")->nodeValue(), u"New Tree!");
    EXPECT_TRUE(node(u"0")->realRoot());
    EXPECT_EQ(frame(u"0").origin, (Point{10, 30}));

    // With nodes and nothing selected: refused, but the canvas still redraws.
    log.take();
    const double width = canvas->frame().size.width;
    canvas->addNode();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"Adding Node :New Tree! to )",
                                                     "Failed to add root node New Tree!"}));
    EXPECT_EQ(canvas->frame().size.width, width + 0.1);

    // The selected view adds a last child under its node.
    canvas->setSelectedNode(view(u"0"));
    canvas->addNode();
    EXPECT_EQ(node(u"0")->childrenList(), std::vector<std::u16string>{u"1"});
    EXPECT_EQ(node(u"1")->nodeValue(), u"New Node!");
    EXPECT_FALSE(node(u"1")->realRoot());
    EXPECT_TRUE(canvas->updated());

    // A deleted view is still selected until the next click on the canvas; it adds nothing.
    pass();
    canvas->setSelectedNode(view(u"1"));
    table->deleteNode(u"1");
    canvas->addNode();
    EXPECT_EQ(table->nodeDictionary()->size(), 1u);
}

TEST_F(DocumentView, AClickOutsideTheNodesClearsTheSelection) {
    load(u"0,,R,a\n");
    pass();
    view(u"0")->selectNode();
    canvas->setSelectedNode(view(u"0"));
    canvas->mouseDown(MouseEvent{{300, 300}, 1});
    EXPECT_FALSE(view(u"0")->nodeSelected());
    EXPECT_FALSE(view(u"0")->drawsBackground());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    canvas->mouseDown(MouseEvent{{300, 300}, 1});
    EXPECT_EQ(canvas->selectedNode(), nullptr);
}

TEST_F(DocumentView, ToggleNodeNumberShowsNumbersUntilToggledBack) {
    load(u"0,1,R,root\n12,,0,leaf\n1,12,0,mid\n");
    pass();
    canvas->toggleNodeNumber();
    EXPECT_TRUE(canvas->updated());
    EXPECT_TRUE(configuration->showNodeNumber());
    pass();
    EXPECT_EQ(view(u"12")->textStorage().string(), u"[12]leaf");
    canvas->toggleNodeNumber();
    pass();
    EXPECT_FALSE(configuration->showNodeNumber());
    EXPECT_EQ(view(u"12")->textStorage().string(), u"leaf");
    EXPECT_EQ(log.lines().size(), 6u); // three passes, no lines of its own
}

TEST_F(DocumentView, DisplaysNodeViewsOverThePassAndCoversWhatIsDrawn) {
    // A parent wider than its child reaches left of the origin.
    load(u"0,1,R,WWWWWWWWW\n1,,0,x\n");
    RecordingPainter painter;
    canvas->display(painter);
    EXPECT_EQ(painter.operations,
              (std::vector<std::string>{"fill white", "line black", "text", "text"}));
    EXPECT_EQ(painter.textRects[0], rect(-25, 30, 90, 18)); // inside the padding of 5
    EXPECT_EQ(canvas->drawingBounds(), rect(-30, 0, 530, 400));

    // The selected view shows its gray background under its text.
    view(u"1")->selectNode();
    RecordingPainter selected;
    canvas->display(selected, rect(0, 80, 100, 40));
    EXPECT_EQ(selected.operations, (std::vector<std::string>{"fill white", "fill other", "text"}));
    EXPECT_EQ(selected.fills[1], rect(10, 90, 20, 18));
}

TEST_F(DocumentView, AdjustWindowSizeFitsTheSubviewsWithoutMargin) {
    canvas->addSubview(std::make_shared<View>(rect(10, 30, 110.5, 20)));
    canvas->addSubview(std::make_shared<View>(rect(40, 100, 10, 100.7)));
    canvas->adjustWindowSize();
    EXPECT_EQ(canvas->frame().size, (Size{120, 200}));
    EXPECT_TRUE(canvas->updated());
    LanthorDocumentView empty(rect(0, 0, 50, 50), text);
    empty.adjustWindowSize();
    EXPECT_EQ(empty.frame().size, (Size{0, 0}));
}

} // namespace

} // namespace lanthor::test
