#include "support/CanvasFixture.h"

#include <random>

namespace lanthor::test {
namespace {

using IncrementalLayout = CanvasFixture;

std::u16string number(std::size_t n) {
    return toUtf16(std::to_string(n));
}

/// A clean tree file: one root, every other node under an earlier one, labels 0 to 12 long.
std::u16string randomTree(std::mt19937& random, std::size_t count) {
    std::vector<std::u16string> children(count);
    for (std::size_t i = 1; i < count; ++i) {
        children[random() % i] += number(i) + u" ";
    }
    std::u16string file;
    for (std::size_t i = 0; i < count; ++i) {
        file += number(i) + u"," + children[i] + (i == 0 ? u",R," : u",0,") +
                std::u16string(random() % 13, u'w') + u"\n";
    }
    return file;
}

TEST_F(IncrementalLayout, GivesTheFramesOfAFreshLayoutAfterEveryKindOfEdit) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        canvas = std::make_shared<LanthorDocumentView>(rect(0, 0, 500, 400), text);
        load(randomTree(random, 1 + random() % 30));
        pass();
        for (int step = 0; step < 12; ++step) {
            // One or two edits before each pass, through the commands and the table as the
            // editor makes them; each notes what it changed.
            for (int edit = random() % 4 == 0 ? 2 : 1; edit > 0; --edit) {
                std::vector<std::u16string> numbers;
                table->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
                    numbers.push_back(node->nodeNumber());
                });
                const std::u16string& picked = numbers[random() % numbers.size()];
                const std::u16string& other = numbers[random() % numbers.size()];
                if (!view(picked)) {
                    continue; // added by the edit before, not laid out yet
                }
                switch (random() % 6) {
                case 0:
                    view(picked)->addNode();
                    break;
                case 1:
                    answers = {std::u16string(random() % 13, u'v')};
                    view(picked)->editNode();
                    break;
                case 2:
                    view(picked)->swapNode();
                    break;
                case 3:
                    answers = {other};
                    view(picked)->changeParent();
                    canvas->redrawChanges();
                    break;
                case 4:
                    if (!node(picked)->realRoot()) {
                        table->deleteNode(picked);
                        canvas->redrawChanges();
                    }
                    break;
                default:
                    view(picked)->toggleLineWidth();
                    canvas->redrawChanges();
                }
            }
            pass();

            // The same tree, saved and laid out anew on a canvas of the same size.
            auto fresh = std::make_shared<TreeTable>();
            ASSERT_FALSE(fresh->loadTable(table->saveTable()));
            LanthorDocumentView freshCanvas(canvas->frame(), text);
            freshCanvas.setTreeTable(fresh);
            freshCanvas.setMConfiguration(configuration);
            freshCanvas.setUpdated(true);
            RecordingPainter ignored;
            freshCanvas.drawRect(ignored);
            const std::string file = toUtf8(table->saveTable());
            std::size_t placed = 0;
            for (const std::shared_ptr<View>& subview : freshCanvas.subviews()) {
                const auto& laidOut = static_cast<const LanthorNodeView&>(*subview);
                const std::u16string& n = laidOut.underlyingNode()->nodeNumber();
                ASSERT_EQ(frame(n), laidOut.frame()) << toUtf8(n) << " in\n" << file;
                ++placed;
            }
            ASSERT_EQ(canvas->subviews().size(), placed) << file;
            ASSERT_EQ(canvas->drawingBounds(), freshCanvas.drawingBounds()) << file;
        }
    }
}

TEST_F(IncrementalLayout, LaysOutOnlyWhatTheNotedChangesMove) {
    // A change that is not noted (here, a text changed behind the canvas's back) shows only
    // when a pass lays out the whole tree: the passes after each command place only what the
    // command's change moves.
    load(u"0,1 2,R,root\n1,3,0,a\n2,,0,b\n3,,0,c\n");
    pass();
    const auto unnoted = [this] {
        node(u"2")->setNodeValue(node(u"2")->nodeValue() + u"b");
        return frame(u"2").size.width;
    };
    double before = unnoted();
    view(u"3")->addNode();
    pass();
    EXPECT_EQ(children(u"3"), Strings{u"4"});
    EXPECT_EQ(frame(u"4").origin.y, 210);
    EXPECT_EQ(frame(u"2").size.width, before);
    answers = {u"longer text"};
    view(u"1")->editNode();
    pass();
    EXPECT_EQ(frame(u"1").size.width, 120);
    EXPECT_EQ(frame(u"2").size.width, before);
    view(u"2")->swapNode();
    pass();
    EXPECT_EQ(frame(u"2").origin.x, 10);
    EXPECT_EQ(frame(u"2").size.width, before);
    answers = {u"0"};
    view(u"3")->changeParent();
    canvas->redrawChanges();
    pass();
    EXPECT_EQ(children(u"0"), (Strings{u"2", u"1", u"3"}));
    EXPECT_EQ(frame(u"3").origin.y, 90);
    EXPECT_EQ(frame(u"2").size.width, before);
    table->deleteNode(u"3");
    canvas->redrawChanges();
    pass();
    EXPECT_EQ(frame(u"2").size.width, before);
    canvas->redraw();
    pass();
    EXPECT_EQ(frame(u"2").size.width, before + 10);
}

TEST_F(IncrementalLayout, LaysOutTheWholeTreeWhereTheChangesCannotSayWhatMoved) {
    // As above, a change that is not noted shows when the whole tree is laid out. A node listed
    // twice takes space only where first listed, and has every pass lay out the whole tree.
    load(u"0,1 2,R,a\n1,3,0,b\n2,3,0,c\n3,,0,d\n");
    pass();
    EXPECT_EQ(frame(u"3"), rect(10, 150, 20, 18));
    node(u"2")->setNodeValue(u"cc");
    view(u"1")->addNode();
    pass();
    EXPECT_EQ(frame(u"4"), rect(30, 150, 100, 18));
    EXPECT_EQ(frame(u"2").size.width, 30);
    // So do new settings.
    load(u"0,1,R,a\n1,,0,b\n");
    pass();
    node(u"0")->setNodeValue(u"aa");
    configuration->setHeight(40);
    answers = {u"bb"};
    view(u"1")->editNode();
    pass();
    EXPECT_EQ(frame(u"1"), rect(10, 70, 30, 18));
    EXPECT_EQ(frame(u"0").size.width, 30);
}

} // namespace
} // namespace lanthor::test
