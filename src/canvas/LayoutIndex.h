#pragma once

#include "platform/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lanthor {

class LanthorNodeView;

/// One node as the last pass placed it: its view, its slot, and where its children are.
struct LayoutEntry {
    LanthorNodeView* view;    ///< null once the view has left the canvas, until the next pass
    std::int32_t slotX;       ///< the left edge of its slot
    std::int32_t slotWidth;   ///< its subtree width
    std::int32_t childOffset; ///< from slotX to its first child's slot (centring the children
                              ///< under a parent wider than they are)
    std::uint32_t firstChild; ///< its children: the next row's entries from here to the next
                              ///< entry's firstChild (or to the end of that row)
    double centre;            ///< its frame's centre x: where edges meet it
};

/// The views of one level, left to right.
struct LayoutRow {
    std::vector<LayoutEntry> entries;
    double y = 0; ///< the top of every frame in the row
    /// The tallest frame in the row and how many are that tall, so that it stays exact as
    /// views come and go; rescanned when the last of them goes.
    double maxHeight = 0;
    std::uint32_t tallCount = 0;
    bool heightsStale = false;
    /// An upper bound of how far a frame or its text reaches past the end of its slot, kept
    /// as labels are measured: it does not depend on where a slot is.
    double maxOverhang = 0;
    /// Entries whose frames the next place() writes, whether their slot moved or not.
    std::uint32_t dirtyBegin = UINT32_MAX;
    std::uint32_t dirtyEnd = 0;

    void addHeight(double height);
    /// Takes the view's measured frame and text into maxOverhang.
    void noteOverhang(const LanthorNodeView& view);
    void removeHeight(double height);
    void markDirty(std::size_t begin, std::size_t end);
};

/// Where a pass placed each node view: one row per level, each row's entries in x order, which
/// is also the order in which the pass reached them. Slots never overlap and lie inside their
/// parent's slot, so the entries below any node are one contiguous run of each row below it, and
/// a frame lies inside its slot but for less than a point (or its text, as far as maxOverhang).
/// That makes every question about an area a binary search per row, and lets a pass that knows
/// what changed place only the entries that moved.
class LayoutIndex {
public:
    std::vector<LayoutRow>& rows() { return rows_; }
    const std::vector<LayoutRow>& rows() const { return rows_; }
    std::size_t entryCount() const;

    /// Drops the empty rows at the end, and the room that rows grown entry by entry did not
    /// fill.
    static void trimRows(std::vector<LayoutRow>& rows);

    /// The end of the children of entry `index` of row `level` in the next row.
    std::uint32_t childEnd(std::size_t level, std::size_t index) const;
    /// The entry of row `level` - 1 whose children hold entry `index` of row `level` (> 0).
    std::size_t parentOf(std::size_t level, std::size_t index) const;
    /// Where `view`, placed in row `level`, stands in it.
    std::optional<std::size_t> find(const LanthorNodeView& view, std::size_t level) const;

    /// Places the slots top down (the roots of row 0 one after another from `firstX`), then the
    /// frames bottom up, exactly as a walk of the whole tree would: each parent centred over
    /// its children's centres, within its own slot. Only frames whose slot moved, that are
    /// marked dirty, or that stand over such frames are computed and written.
    void place(std::int32_t firstX);

    /// True while the rows are in x order with slots that do not overlap; false after 32-bit
    /// coordinates wrapped around, when the questions below must not be asked.
    bool searchable() const { return searchable_; }
    /// Adds to `found` each placed view whose frame or text meets `area`.
    void viewsMeeting(Rect area, std::vector<LanthorNodeView*>& found) const;
    /// Adds to `found` each placed view whose frame holds `point`.
    void viewsAt(Point point, std::vector<LanthorNodeView*>& found) const;
    /// An edge between placed views, as the edge pass draws it.
    struct Edge {
        const LanthorNodeView* parent;
        const LanthorNodeView* child;
        Point from;
        Point to;
    };
    /// Adds to `found` the edges between placed views that may cross `area`: every one that
    /// does, and few that do not. A parent's slot holds all its edges, and the edges of one
    /// parent that cross an area go to a run of its children: a binary search each.
    void edgesMeeting(Rect area, std::vector<Edge>& found) const;
    /// What the placed views' frames and texts cover; none without a view.
    std::optional<Rect> extent() const;

    /// How far a line reaches past its ends: half the widest line, and a margin for rounding.
    static constexpr double kLineReach = 2.5;

private:
    /// The rows that may hold something between `minY` and `maxY`.
    std::pair<std::size_t, std::size_t> rowsBetween(double minY, double maxY) const;
    /// The first entry of `row` whose slot, widened by the row's overhang, ends after `x`.
    static std::size_t firstReaching(const LayoutRow& row, double x);
    void placeSlots(std::int32_t firstX);
    void placeFrames(std::size_t level, std::size_t begin, std::size_t end);

    std::vector<LayoutRow> rows_;
    bool searchable_ = true;
    bool rowsDescend_ = true; ///< each row lies below the one before it
    double tallest_ = 0;      ///< the tallest frame in any row
};

} // namespace lanthor
