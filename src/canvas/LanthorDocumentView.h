#pragma once

#include "LabelTextCache.h"
#include "LayoutIndex.h"
#include "MovementArrows.h"
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
#include <vector>

namespace lanthor {

class LanthorConfiguration;
class LanthorNodeView;
class NodeDictionary;
class Painter;
class TextSystem;
class Tree;
class TreeTable;

/// The canvas of a document window. It lays the tree out as one node view per node (each parent
/// centred over its children, one row per level), draws the edges between them, and runs the
/// drawing cycle: `redraw` asks for a new layout, and the next drawing pass lays the tree out and
/// draws the edges, only then. Coordinates are flipped: origin top-left, y growing downwards.
///
/// A pass keeps where it placed every view (LayoutIndex), so that showing or clicking one area
/// costs what lies there, and a change that is noted (noteChanged, redrawChanged) is laid out
/// by placing again only what it moves, with the frames a pass over the whole tree would give.
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
    /// The triangle that a node with the `roof` attribute draws instead of edges to its
    /// children: from where its edges would start down to the left edge of its leftmost child's
    /// view and the right edge of its rightmost child's view, at the children's top.
    struct Roof {
        std::u16string node;
        Point from;
        Point left;
        Point right;
    };
    /// A movement arrow (`arrow=N`) between two placed views.
    struct Arrow {
        std::u16string source;
        std::u16string target;
        ArrowRoute route;
    };

    /// `textSystem` reads and measures the node labels and must outlive the canvas.
    LanthorDocumentView(Rect frame, const TextSystem& textSystem);
    ~LanthorDocumentView() override;

    bool updated() const { return updated_; }
    /// True asks the next drawing pass to lay out the whole tree.
    void setUpdated(bool updated);
    const std::shared_ptr<LanthorConfiguration>& mConfiguration() const { return mConfiguration_; }
    void setMConfiguration(std::shared_ptr<LanthorConfiguration> configuration) {
        mConfiguration_ = std::move(configuration);
    }
    /// The table, or null once its owner has let it go.
    std::shared_ptr<TreeTable> mTreeTable() const { return mTreeTable_.lock(); }
    /// A new table: the next pass lays out the whole tree.
    void setMTreeTable(const std::shared_ptr<TreeTable>& table);
    void setTreeTable(const std::shared_ptr<TreeTable>& table) { setMTreeTable(table); }
    const std::shared_ptr<LanthorNodeView>& selectedNode() const { return selectedNode_; }
    void setSelectedNode(std::shared_ptr<LanthorNodeView> node) { selectedNode_ = std::move(node); }

    /// The drawing pass: fills the canvas white and, while `updated` is set, lays the tree out
    /// (what the noted changes move, or all of it: see redrawChanges), draws the edges and
    /// clears `updated`. Without a table it logs "[draw_error] nil tree" and
    /// `updated` stays set.
    void drawRect(Painter& painter);
    /// Draws what the host shows: the drawing pass, then every node view that meets
    /// `dirtyRect` over it.
    void display(Painter& painter, Rect dirtyRect);
    /// The same over everything, wherever the layout has put it.
    void display(Painter& painter);
    /// The host's side of the drawing pass: when `updated` is set, lays the tree out as
    /// drawRect does and logs its edge pass, whose edges drawArea draws; true when it ran.
    bool layOutIfNeeded();
    /// Draws, over what is already there, the edges that meet `area` and then the node views
    /// that meet it (in the order of the subviews), as the last pass laid them out. Costs what
    /// the area holds, and a binary search per row.
    void drawArea(Painter& painter, Rect area) const;
    /// True when the last pass laid out one clean tree and placed `view` below a parent: then
    /// some node lists its node, which a caller need not search the table for.
    bool placedUnderAParent(const LanthorNodeView& view) const;
    /// The topmost node view whose frame holds `point`, or null.
    std::shared_ptr<LanthorNodeView> nodeViewAt(Point point) const;
    /// The node views whose frames meet `area`, in the order they are drawn. Costs what the
    /// area holds, as drawArea does.
    std::vector<std::shared_ptr<LanthorNodeView>> nodeViewsMeeting(Rect area) const;
    /// What the canvas and its node views cover: the canvas from its origin, every node view's
    /// frame and text, wherever the layout has put them (also left of the origin). Kept by the
    /// passes.
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

    /// The roofs and arrows of the last pass, which the edge pass and drawArea draw.
    const std::vector<Roof>& roofs() const { return roofs_; }
    const std::vector<Arrow>& arrows() const { return arrows_; }

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
    /// Asks for a new layout of the whole tree and a display, by widening the canvas by 0.1.
    void redraw();
    /// Notes that `node`'s own label (number or text) or its children list has changed, so
    /// that the next pass lays out again only what that moves. Nodes that a change adds below
    /// it need no note, nor do nodes without a view on this canvas, nor a changed `head` (edges
    /// are drawn as they stand); node views that leave with their deleted nodes note their
    /// parents themselves.
    void noteChanged(const Tree& node);
    /// Asks for a layout of what the noted changes move, and a display, by widening the canvas
    /// by 0.1. The pass lays out the whole tree instead when the changes cannot say what moved:
    /// after redraw, a resize, setUpdated, new label settings or a new table, and while the
    /// tree is not one clean tree (a node listed twice, a cycle, a child that names no node).
    void redrawChanges();
    /// noteChanged(node), then redrawChanges().
    void redrawChanged(const Tree& node);
    /// Flips the configuration's `showNodeNumber` and sets `updated`; the caller redraws.
    void toggleNodeNumber();
    /// Adds the root "New Tree!" to an empty table when nothing is selected (and redraws), or
    /// has the selected node view add a child.
    void addNode();

private:
    static constexpr std::int32_t kRootX = 10; ///< where the first root's slot starts

    // The node views ask their canvas for their text and drawing, and tell it when they go.
    friend class LanthorNodeView;

    /// The label settings a pass measured with: the same generation as long as they stay the
    /// same, a new one (across all canvases) whenever they differ.
    struct LabelSettings {
        Font font;
        bool showNodeNumber;
        std::uint32_t generation;
        double lineHeight; ///< the height of one line of text in the font
    };
    /// What the layout needs of a label: the view's width, and the size of the text it shows.
    struct LabelMetrics {
        double width;
        Size textSize;
    };
    /// One walk that measures trees into rows of entries (see measureTree).
    struct MeasureWalk {
        std::uint32_t stamp;
        std::size_t firstLevel; ///< the level of the walk's rows[0]
        /// Refuses nodes placed by the last pass: the walk then stops and `refused` is set.
        bool refusePlaced = false;
        bool refused = false;
        bool clean = true; ///< no child named a missing node, no node was reached twice
        std::size_t reached = 0;
    };
    /// One walk over the edges: each node is gone below once, its edges visited then.
    struct EdgeWalk {
        std::uint32_t stamp;
        std::unordered_set<const Tree*> enteredWithoutView;
        /// True the first time the walk reaches `node`.
        bool enter(const Tree& node, LanthorNodeView* view);
    };

    const LanthorConfiguration& configuration() const;
    /// A new number for a walk, across all canvases, so that a mark that an earlier walk (or a
    /// walk on another canvas) left never reads as one of this walk.
    static std::uint32_t newWalkStamp();
    /// Resizes the canvas and asks for a layout of the noted changes and a display.
    void resize(Size size);

    // Labels (DocumentViewMarkup.cpp).
    /// The settings in force.
    const LabelSettings& labelSettings() const;
    std::u16string labelOf(const Tree& node, const LabelSettings& settings) const;
    LabelMetrics measureLabel(std::u16string_view label, const LabelSettings& settings) const;
    /// The label's styled text; none when the reader finds no visible text.
    std::optional<AttributedString> makeLabelText(std::u16string_view label,
                                                  const Font& font) const;
    /// The measured size of the visible text of an already escaped label.
    Size measureSanitized(std::u16string_view sanitized, const Font& font,
                          AttributedString* read) const;
    /// The text `view` shows, made from its node, from the cache of recent texts.
    const AttributedString& shownText(const LanthorNodeView& view) const;
    AttributedString labelText(const LanthorNodeView& view) const;
    void drawNodeView(const LanthorNodeView& view, Painter& painter) const;

    // The layout (DocumentViewLayout.cpp).
    /// The view of `node` (made on the first pass that reaches the node, or `view`) with its
    /// label measured in the settings in force; not placed yet, nor added to the canvas.
    std::shared_ptr<LanthorNodeView> measureNode(const std::shared_ptr<Tree>& node,
                                                 std::shared_ptr<LanthorNodeView> view);
    /// Measures the tree below `root` that `walk` has not reached, into `rows` (rows[0] at the
    /// root's level): an entry per node, in the order the walk reaches them, with its subtree
    /// width and the offset of its children; slots and frames are placed afterwards.
    void measureTree(const std::shared_ptr<Tree>& root, const NodeDictionary& dictionary,
                     std::vector<LayoutRow>& rows, MeasureWalk& walk);
    /// Measures a clean tree into `rows` as measureTree would, every node at once, row by row
    /// (DocumentViewRows.cpp); false, having made no view, when the tree is not clean.
    bool layOutCleanTree(const NodeDictionary& dictionary, std::vector<LayoutRow>& rows,
                         MeasureWalk& walk);
    /// Gives each row its y: 30 plus the level times `height`, in 32-bit arithmetic.
    static void setRowTops(std::vector<LayoutRow>& rows, std::int32_t firstLevel,
                           std::int32_t height);
    /// The layout that the drawing pass runs: of the noted changes where they say what moved,
    /// else of the whole tree (drawAllNodes).
    void layOut();
    /// Notes what a pass over the whole tree found, for the areas and the changes to come.
    void finishWholeLayout(const TreeTable& table, const MeasureWalk& walk, std::int32_t height);
    void finishLayout();

    // Leaves and figures (DocumentViewFigures.cpp).
    /// True when leaves are aligned or tucked.
    bool leavesMoved() const;
    /// Moves the placed leaves as the leaf settings ask: tucked ones right under their parents,
    /// the others down to the bottom row when aligned.
    void moveLeaves();
    /// Computes the roofs and arrows from the frames the pass has set.
    void placeFigures(const TreeTable& table);
    /// The lowest bottom of a placed frame meeting the columns from `left` to `right`.
    std::optional<double> lowestBottom(double left, double right) const;
    /// Draws the roofs and arrows that meet `area`, or all of them.
    void drawFigures(Painter& painter, std::optional<Rect> area) const;
    /// Lays out the noted changes; false when they cannot say what moved, and the whole tree
    /// must be laid out (DocumentViewChanges.cpp).
    bool layOutChanges(const TreeTable& table);
    struct ChangeSet;
    /// Rebuilds the rows below the first changed node, with each changed node's children as
    /// it lists them now.
    void rebuildRows(ChangeSet& set);
    /// A node view is leaving the canvas with its deleted node: its entry is emptied and its
    /// parent noted as changed.
    void nodeViewLeaving(LanthorNodeView& view);

    // The areas (DocumentViewArea.cpp).
    /// True while the index can answer for the frames of every view on the canvas.
    bool indexAnswers() const { return indexValid_ && index_.searchable(); }
    /// The views on the canvas that the last pass did not place.
    std::vector<std::shared_ptr<LanthorNodeView>> strays() const;

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
    mutable std::optional<LabelSettings> labelSettings_;
    mutable LabelTextCache texts_{4096};

    /// Where the last pass placed the views; valid while it holds every frame on the canvas.
    LayoutIndex index_;
    bool indexValid_ = false;
    /// The next pass lays out the whole tree, whatever was noted.
    bool wholeTreeNeeded_ = true;
    /// The last pass found one clean tree: every child names a node, no node is reached twice.
    bool clean_ = false;
    const NodeDictionary* indexDictionary_ = nullptr;
    std::int32_t indexHeight_ = 0;
    std::uint32_t indexGeneration_ = 0; ///< the label settings of the last pass
    std::optional<Rect> placedExtent_;
    std::vector<Roof> roofs_;
    std::vector<Arrow> arrows_;
    std::optional<Rect> figuresExtent_; ///< what the roofs and arrows cover
    /// The nodes whose label or children changed since the last pass, through their views.
    std::vector<std::weak_ptr<LanthorNodeView>> changes_;
    /// Views that left the index since the last pass.
    std::size_t departures_ = 0;
    /// Views on the canvas that the last pass did not place (their nodes are out of reach):
    /// they keep their last frames, and are shown there.
    std::vector<std::weak_ptr<LanthorNodeView>> strays_;
    /// In a tree that is not clean, the edges to nodes placed elsewhere (a node listed twice,
    /// an edge back up a cycle), which the rows do not hold.
    std::vector<std::pair<std::weak_ptr<LanthorNodeView>, std::weak_ptr<LanthorNodeView>>>
        extraEdges_;
};

} // namespace lanthor
