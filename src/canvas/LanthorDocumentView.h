#pragma once

#include "platform/AttributedString.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/MouseEvent.h"
#include "platform/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace lanthor {

class LanthorConfiguration;
class LanthorNodeView;
class Painter;
class TextSystem;
class Tree;
class TreeTable;

/// The canvas of a document window. It lays the tree out as one node view per node (each parent
/// centred over its children, one row per level), draws the edges between them, and runs the
/// drawing cycle: `redraw` asks for a new layout, and the next drawing pass lays the tree out and
/// draws the edges, only then. Coordinates are flipped: origin top-left, y growing downwards.
class LanthorDocumentView : public View {
public:
    /// One edge as drawn: from the bottom centre of the parent's view (its top centre when the
    /// parent's text is empty) to the top centre of the child's view.
    struct Edge {
        const Tree& parent;
        const Tree& child;
        Point from;
        Point to;
        bool bold; ///< the child's `head`
    };
    using EdgeVisitor = std::function<void(const Edge&)>;

    /// `textSystem` reads and measures the node labels and must outlive the canvas.
    LanthorDocumentView(Rect frame, const TextSystem& textSystem);
    ~LanthorDocumentView() override;

    bool updated() const { return updated_; }
    void setUpdated(bool updated) { updated_ = updated; }
    const std::shared_ptr<LanthorConfiguration>& mConfiguration() const { return mConfiguration_; }
    void setMConfiguration(std::shared_ptr<LanthorConfiguration> configuration) {
        mConfiguration_ = std::move(configuration);
    }
    /// The table, or null once its owner has let it go.
    std::shared_ptr<TreeTable> mTreeTable() const { return mTreeTable_.lock(); }
    void setMTreeTable(const std::shared_ptr<TreeTable>& table) { mTreeTable_ = table; }
    void setTreeTable(const std::shared_ptr<TreeTable>& table) { setMTreeTable(table); }
    const std::shared_ptr<LanthorNodeView>& selectedNode() const { return selectedNode_; }
    void setSelectedNode(std::shared_ptr<LanthorNodeView> node) { selectedNode_ = std::move(node); }

    /// The drawing pass: fills the canvas white and, while `updated` is set, lays the tree out,
    /// draws the edges and clears `updated`. Without a table it logs "[draw_error] nil tree" and
    /// `updated` stays set.
    void drawRect(Painter& painter);
    /// Draws what the host shows: the drawing pass, then every node view that meets
    /// `dirtyRect` over it.
    void display(Painter& painter, Rect dirtyRect);
    /// The same over everything, wherever the layout has put it.
    void display(Painter& painter);
    /// The host's side of the drawing pass: when `updated` is set, lays the tree out and runs
    /// the edge pass as drawRect does, drawing nothing; true when it ran. drawArea then shows
    /// what the pass laid out.
    bool layOutIfNeeded();
    /// Draws, over what is already there, the edges that meet `area` and then the node views
    /// that meet it, as the last pass laid them out.
    void drawArea(Painter& painter, Rect area) const;
    /// The topmost node view whose frame holds `point`, or null.
    std::shared_ptr<LanthorNodeView> nodeViewAt(Point point) const;
    /// What the canvas and its node views cover: the canvas from its origin, every node view's
    /// frame and text, wherever the layout has put them (also left of the origin).
    Rect drawingBounds() const;
    /// Resizes the canvas and asks for a new layout; a changed size asks the host to display
    /// the canvas again.
    void setFrameSize(Size size) override;
    bool isFlipped() const override { return true; }
    /// A press on the canvas outside every node view: clears the selection.
    void mouseDown(const MouseEvent& event);
    /// Called whenever the frame size changes, so that the host displays the canvas again.
    void setDisplayRequest(std::function<void()> request) { displayRequest_ = std::move(request); }

    /// The layout pass: logs "[draw] nodes" and lays out every real root at level 0, the first
    /// root's slot at x 10 and each next one where the previous one's ends. Each node is laid
    /// out once per pass, where the pass first reaches it; a later listing of it (a node listed
    /// twice, under two parents, or back up a cycle) takes no space and does not count in its
    /// parent's centring.
    void drawAllNodes();
    /// Lays out `node` and the subtree below it with the left edge of its slot at `x`, in 32-bit
    /// arithmetic, as one pass of its own; returns the subtree's width. Children's slots are
    /// packed left to right from x, or centred under a parent wider than they are together; a
    /// parent is centred over its children's mean centre but kept inside its own slot. The walk
    /// uses no recursion.
    std::int32_t drawNode(const std::shared_ptr<Tree>& node, const TreeTable& table, std::int32_t x,
                          std::int32_t level, std::int32_t height);
    /// Sizes the canvas to the right and bottom edges of its subviews, without margin.
    void adjustWindowSize();

    /// The edge pass: logs "[draw] edges" and draws the edges below every real root.
    void drawAllEdges(Painter& painter);
    /// Draws the edges below `node`, depth first: the edge to a child, then everything below
    /// that child. A child whose edges this walk has drawn already gets its edge but is not
    /// descended into again.
    void drawEdge(const Tree& node, const TreeTable& table, Painter& painter);
    /// One black line, 2.5 points wide when `bold`, else 1.0.
    void drawPath(Point from, Point to, bool bold, Painter& painter);
    static double lineWidth(bool bold) { return bold ? 2.5 : 1.0; }
    /// Every edge that the edge pass draws, in the order it draws them.
    void forEachEdge(const EdgeVisitor& visit) const;

    /// Escapes a label for the HTML reader, keeping only the allowed tags.
    std::u16string sanitize(std::u16string_view label) const;
    /// The label's visible text measured in the configured font, plus 10.0 in width. Bold,
    /// italic and raised or lowered text are measured as plain text.
    Size getStringSize(std::u16string_view label) const;
    /// Makes the text between bold markers bold and removes the markers.
    void markBold(AttributedString& text) const;
    /// Makes the text between italic markers italic and removes the markers.
    void markItalic(AttributedString& text) const;

    /// Writes "[tag] message" to the log.
    void log(std::u16string_view tag, std::u16string_view message) const;
    /// Asks for a new layout and display by widening the canvas by 0.1.
    void redraw();
    /// Flips the configuration's `showNodeNumber` and sets `updated`; the caller redraws.
    void toggleNodeNumber();
    /// Adds the root "New Tree!" to an empty table when nothing is selected (and redraws), or
    /// has the selected node view add a child.
    void addNode();

private:
    const LanthorConfiguration& configuration() const;
    /// The first step of one node's layout: its view (made on the first pass that reaches the
    /// node), its label and the label's width. The view is not placed yet.
    LanthorNodeView& measureNode(const std::shared_ptr<Tree>& node,
                                 std::uint64_t settingsGeneration);
    /// Lays out the tree below `node` in a pass that may have laid out other trees already:
    /// measures every node it reaches first, then places them. Returns the subtree width.
    std::int32_t layOutTree(const std::shared_ptr<Tree>& node, const TreeTable& table,
                            std::int32_t x, std::int32_t level, std::int32_t height,
                            std::uint32_t pass);
    /// The height of one line of text in the configured font.
    double lineHeight() const;
    /// Identifies the label settings (font, node numbers) now in force: the same number as
    /// long as they stay the same, a new one whenever they differ.
    std::uint64_t labelSettingsGeneration();
    /// A label read and measured: its width for the layout and, unless the reader found no
    /// visible text (the view then shows none), the styled text for its view.
    struct PreparedLabel {
        double width = 0;
        std::optional<AttributedString> text;
    };
    PreparedLabel prepareLabel(std::u16string_view label) const;
    /// The measured size of the visible text of an already escaped label.
    Size measureSanitized(std::u16string_view sanitized, AttributedString* read) const;
    /// One walk over the edges: each node is gone below once, its edges visited then.
    struct EdgeWalk {
        std::uint32_t pass;
        std::unordered_set<const Tree*> enteredWithoutView;
        /// True the first time the walk reaches `node`.
        bool enter(const Tree& node, LanthorNodeView* view);
    };
    void visitEdgesBelow(const Tree& top, const TreeTable& table, EdgeWalk& walk,
                         const EdgeVisitor& visit) const;

    bool updated_ = false;
    std::shared_ptr<LanthorConfiguration> mConfiguration_;
    std::weak_ptr<TreeTable> mTreeTable_;
    std::shared_ptr<LanthorNodeView> selectedNode_;
    const TextSystem& textSystem_;
    std::function<void()> displayRequest_;
    /// Used while no configuration is set, so that a pass still has a font and a height.
    std::unique_ptr<LanthorConfiguration> defaults_;
    struct LabelSettings {
        Font font;
        bool showNodeNumber;
        std::uint64_t generation;
    };
    std::optional<LabelSettings> labelSettings_;
};

} // namespace lanthor
