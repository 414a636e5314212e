#include "document/SelectionMoves.h"

#include "support/CanvasFixture.h"

namespace lanthor::test {
namespace {

class SelectionMoves : public CanvasFixture {
protected:
    /// Loads and lays out tree-file text, nothing selected.
    void show(std::u16string_view treeFile) {
        load(treeFile);
        pass();
    }
    /// The selected node's text, or "-".
    std::u16string selected() const {
        const std::shared_ptr<LanthorNodeView>& view = canvas->selectedNode();
        return view ? view->underlyingNode()->nodeValue() : u"-";
    }
    /// The texts that `count` moves pass through, one letter each.
    std::u16string walk(SelectionMove move, int count) {
        std::u16string seen;
        for (int i = 0; i < count; ++i) {
            moveSelection(*canvas, move);
            seen += selected();
        }
        return seen;
    }
    /// Moves and returns the text then selected, "=" after a move that changed nothing.
    std::u16string after(SelectionMove move) {
        return moveSelection(*canvas, move) ? selected() : u"=";
    }
};

TEST_F(SelectionMoves, ArrowsAndReadingOrderFollowTheTreeAsLaidOut) {
    // Two trees: A over B (D, E) and C (F); G over H.
    show(u"0,1 2,R,A\n1,3 4,0,B\n2,5,0,C\n3,,0,D\n4,,0,E\n5,,0,F\n6,7,R,G\n7,,0,H\n");
    EXPECT_EQ(walk(SelectionMove::NextInReadingOrder, 9), u"ABDECFGHA");
    EXPECT_EQ(walk(SelectionMove::PreviousInReadingOrder, 9), u"HGFCEDBAH");
    EXPECT_EQ(after(SelectionMove::Parent), u"G");
    EXPECT_EQ(after(SelectionMove::Parent), u"=");          // a root
    EXPECT_EQ(after(SelectionMove::PreviousSibling), u"A"); // the roots are siblings
    EXPECT_EQ(after(SelectionMove::PreviousSibling), u"=");
    EXPECT_EQ(after(SelectionMove::FirstChild), u"B");
    EXPECT_EQ(after(SelectionMove::NextSibling), u"C");
    EXPECT_EQ(after(SelectionMove::NextSibling), u"=");
    EXPECT_EQ(after(SelectionMove::FirstChild), u"F");
    EXPECT_EQ(after(SelectionMove::FirstChild), u"="); // a leaf

    // The selected view shows it, as after a click, and only that one.
    EXPECT_TRUE(view(u"5")->drawsBackground());
    EXPECT_FALSE(view(u"2")->drawsBackground());
    clearSelection(*canvas);
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_FALSE(view(u"5")->drawsBackground());
    // With nothing selected, any move starts at the first root.
    EXPECT_EQ(after(SelectionMove::PreviousSibling), u"A");
    EXPECT_EQ(firstRootView(*canvas), view(u"0"));
}

TEST_F(SelectionMoves, AFileThatIsNotOneTreeIsWalkedOnceThrough) {
    // A lists B twice and itself; B's child C lists B back, and D lists C after B did; E is a
    // root that B lists too, and F is a row that no root reaches.
    show(u"0,1 1 0 4,R,A\n1,2 4,0,B\n2,1,0,C\n3,2,R,D\n4,,R,E\n5,,0,F\n");
    EXPECT_EQ(walk(SelectionMove::NextInReadingOrder, 6), u"ABCDEA");
    EXPECT_EQ(walk(SelectionMove::PreviousInReadingOrder, 6), u"EDCBAE");
    EXPECT_EQ(after(SelectionMove::PreviousInReadingOrder), u"D");
    EXPECT_EQ(after(SelectionMove::FirstChild), u"="); // C belongs to B, which lists it first
    EXPECT_EQ(after(SelectionMove::PreviousInReadingOrder), u"C");
    EXPECT_EQ(after(SelectionMove::FirstChild), u"="); // B is C's parent, not its child
    EXPECT_EQ(after(SelectionMove::Parent), u"B");
    EXPECT_EQ(after(SelectionMove::NextSibling), u"="); // E is a root
    EXPECT_EQ(view(u"5"), nullptr);                     // never laid out, never reached
}

} // namespace
} // namespace lanthor::test
