#include "LayoutIndex.h"

#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "model/Tree.h"

#include <algorithm>
#include <limits>

namespace lanthor {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// How far right the view's frame or its text reaches.
double rightExtent(const LanthorNodeView& view) {
    return std::max(view.frame().maxX(), view.textRect().maxX());
}

/// The centres x that an edge from `start` to a point at height `endY` may end at and still
/// cross `box`. Seen from `start`, a rectangle casts one interval onto any line, so this is one
/// interval: the empty one when lo > hi.
std::pair<double, double> endsCrossing(Point start, double endY, const Rect& box) {
    if (endY == start.y) { // level: the edge crosses the box's height at the start's
        if (start.y < box.minY() || start.y > box.maxY()) {
            return {kInfinity, -kInfinity};
        }
        return {start.x > box.maxX() ? -kInfinity : box.minX(),
                start.x < box.minX() ? kInfinity : box.maxX()};
    }
    const double top = std::max(std::min(start.y, endY), box.minY());
    const double bottom = std::min(std::max(start.y, endY), box.maxY());
    if (top > bottom) {
        return {kInfinity, -kInfinity};
    }
    // The fractions of the way from the start down (or up) to the end where the edge is inside
    // the box's height.
    const double a = (top - start.y) / (endY - start.y);
    const double b = (bottom - start.y) / (endY - start.y);
    const double near = std::min(a, b);
    const double far = std::max(a, b);
    const double toLeft = box.minX() - start.x;
    const double toRight = box.maxX() - start.x;
    if (far <= 0) { // only the start's own height
        return toLeft <= 0 && toRight >= 0 ? std::pair{-kInfinity, kInfinity}
                                           : std::pair{kInfinity, -kInfinity};
    }
    const double lo = toLeft >= 0 ? start.x + toLeft / far
                      : near > 0  ? start.x + toLeft / near
                                  : -kInfinity;
    const double hi = toRight <= 0 ? start.x + toRight / far
                      : near > 0   ? start.x + toRight / near
                                   : kInfinity;
    return {lo - 1, hi + 1}; // a point to spare for rounding
}

} // namespace

void LayoutRow::addHeight(double height) {
    if ((tallCount == 0 && !heightsStale) || height > maxHeight) {
        maxHeight = height;
        tallCount = 1;
    } else if (height == maxHeight) {
        ++tallCount;
    }
}

void LayoutRow::removeHeight(double height) {
    if (height == maxHeight && tallCount > 0 && --tallCount == 0) {
        heightsStale = true; // still an upper bound until the row is measured again
    }
}

void LayoutRow::noteOverhang(const LanthorNodeView& view) {
    // The frame starts in its slot, no further in than the slot is wider than the frame, and
    // the slot is at most a point narrower than the frame; the text starts past the padding.
    const Size text = view.textSize();
    maxOverhang =
        std::max(maxOverhang, std::max(1.0, LanthorNodeView::kLineFragmentPadding + text.width + 1 -
                                                view.frame().size.width));
}

void LayoutRow::markDirty(std::size_t begin, std::size_t end) {
    dirtyBegin = std::min(dirtyBegin, static_cast<std::uint32_t>(begin));
    dirtyEnd = std::max(dirtyEnd, static_cast<std::uint32_t>(end));
}

std::size_t LayoutIndex::entryCount() const {
    std::size_t count = 0;
    for (const LayoutRow& row : rows_) {
        count += row.entries.size();
    }
    return count;
}

void LayoutIndex::trimRows(std::vector<LayoutRow>& rows) {
    while (!rows.empty() && rows.back().entries.empty()) {
        rows.pop_back();
    }
    for (LayoutRow& row : rows) {
        if (row.entries.capacity() > row.entries.size() + row.entries.size() / 4 + 16) {
            row.entries.shrink_to_fit();
        }
    }
}

std::uint32_t LayoutIndex::childEnd(std::size_t level, std::size_t index) const {
    const std::vector<LayoutEntry>& entries = rows_[level].entries;
    if (index + 1 < entries.size()) {
        return entries[index + 1].firstChild;
    }
    return level + 1 < rows_.size() ? static_cast<std::uint32_t>(rows_[level + 1].entries.size())
                                    : 0;
}

std::size_t LayoutIndex::parentOf(std::size_t level, std::size_t index) const {
    const std::vector<LayoutEntry>& parents = rows_[level - 1].entries;
    const auto after = std::upper_bound(
        parents.begin(), parents.end(), index,
        [](std::size_t value, const LayoutEntry& entry) { return value < entry.firstChild; });
    return static_cast<std::size_t>(after - parents.begin()) - 1;
}

std::optional<std::size_t> LayoutIndex::find(const LanthorNodeView& view, std::size_t level) const {
    if (level >= rows_.size()) {
        return std::nullopt;
    }
    const std::vector<LayoutEntry>& entries = rows_[level].entries;
    // A placed frame starts in its own slot, past the starts of the slots before it.
    const double x = view.frame().origin.x;
    const auto after = std::upper_bound(
        entries.begin(), entries.end(), x,
        [](double value, const LayoutEntry& entry) { return value < entry.slotX; });
    if (after != entries.begin() && std::prev(after)->view == &view) {
        return static_cast<std::size_t>(std::prev(after) - entries.begin());
    }
    for (std::size_t i = 0; i < entries.size(); ++i) { // moved by hand since
        if (entries[i].view == &view) {
            return i;
        }
    }
    return std::nullopt;
}

void LayoutIndex::place(std::int32_t firstX) {
    placeSlots(firstX);
    // Bottom up: a parent's frame follows its children's, so the rows below come first, and a
    // row's parents of moved children move too.
    std::uint32_t childBegin = UINT32_MAX;
    std::uint32_t childEnd = 0;
    for (std::size_t level = rows_.size(); level-- > 0;) {
        LayoutRow& row = rows_[level];
        std::size_t begin = row.dirtyBegin;
        std::size_t end = row.dirtyEnd;
        if (childBegin < childEnd) {
            begin = std::min(begin, parentOf(level + 1, childBegin));
            end = std::max(end, parentOf(level + 1, childEnd - 1) + 1);
        }
        end = std::min(end, row.entries.size());
        if (begin < end) {
            placeFrames(level, begin, end);
        }
        childBegin = begin < end ? static_cast<std::uint32_t>(begin) : UINT32_MAX;
        childEnd = begin < end ? static_cast<std::uint32_t>(end) : 0;
        row.dirtyBegin = UINT32_MAX;
        row.dirtyEnd = 0;
    }

    rowsDescend_ = true;
    tallest_ = 0;
    for (std::size_t level = 0; level < rows_.size(); ++level) {
        tallest_ = std::max(tallest_, rows_[level].maxHeight);
        if (level > 0 && !(rows_[level].y > rows_[level - 1].y)) {
            rowsDescend_ = false;
        }
    }
}

void LayoutIndex::placeSlots(std::int32_t firstX) {
    searchable_ = true;
    if (rows_.empty()) {
        return;
    }
    // Each root's slot where the one before it ends.
    std::int32_t x = firstX;
    std::vector<LayoutEntry>& roots = rows_[0].entries;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (roots[i].slotX != x) {
            roots[i].slotX = x;
            rows_[0].markDirty(i, i + 1);
        }
        x = wrapToInt32(std::int64_t{x} + roots[i].slotWidth);
    }
    // Each parent's children packed left to right from its slot's start and offset.
    for (std::size_t level = 0; level + 1 < rows_.size(); ++level) {
        const std::vector<LayoutEntry>& parents = rows_[level].entries;
        LayoutRow& childRow = rows_[level + 1];
        std::vector<LayoutEntry>& children = childRow.entries;
        for (std::size_t i = 0; i < parents.size(); ++i) {
            const std::size_t end =
                i + 1 < parents.size() ? parents[i + 1].firstChild : children.size();
            std::int32_t childX =
                wrapToInt32(std::int64_t{parents[i].slotX} + parents[i].childOffset);
            for (std::size_t j = parents[i].firstChild; j < end; ++j) {
                if (children[j].slotX != childX) {
                    children[j].slotX = childX;
                    childRow.markDirty(j, j + 1);
                }
                childX = wrapToInt32(std::int64_t{childX} + children[j].slotWidth);
            }
        }
    }
    for (const LayoutRow& row : rows_) {
        const std::vector<LayoutEntry>& entries = row.entries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::int64_t slotEnd = std::int64_t{entries[i].slotX} + entries[i].slotWidth;
            if (entries[i].slotWidth <= 0 ||
                (i + 1 < entries.size() && slotEnd > std::int64_t{entries[i + 1].slotX})) {
                searchable_ = false;
                return;
            }
        }
    }
}

void LayoutIndex::placeFrames(std::size_t level, std::size_t begin, std::size_t end) {
    LayoutRow& row = rows_[level];
    const std::vector<LayoutEntry>* children =
        level + 1 < rows_.size() ? &rows_[level + 1].entries : nullptr;
    // Each frame written is one view from all over memory: ask for them ahead.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = begin; i < std::min(end, begin + kAhead); ++i) {
        __builtin_prefetch(row.entries[i].view);
    }
    for (std::size_t i = begin; i < end; ++i) {
        if (i + kAhead < end) {
            __builtin_prefetch(row.entries[i + kAhead].view, 1);
        }
        LayoutEntry& entry = row.entries[i];
        LanthorNodeView* view = entry.view;
        if (!view) {
            continue;
        }
        const Rect frame = view->frame();
        const double width = frame.size.width;
        const std::size_t childrenEnd = childEnd(level, i);
        double x = entry.slotX;
        if (childrenEnd > entry.firstChild) {
            // Over the mean of the children's centres, the sum truncated at each step, but
            // within its own slot.
            std::int32_t centreSum = 0;
            for (std::size_t j = entry.firstChild; j < childrenEnd; ++j) {
                centreSum = truncateToInt32(centreSum + (*children)[j].centre);
            }
            const std::int32_t mean =
                centreSum / static_cast<std::int32_t>(childrenEnd - entry.firstChild);
            x = std::max(
                double(entry.slotX),
                std::min(mean - width * 0.5, double(entry.slotX) + entry.slotWidth - width));
        }
        const Point origin{x, row.y};
        if (frame.origin != origin) {
            view->setFrameOrigin(origin);
        }
        entry.centre = x + width * 0.5;
    }
}

std::pair<std::size_t, std::size_t> LayoutIndex::rowsBetween(double minY, double maxY) const {
    if (!rowsDescend_) {
        return {0, rows_.size()};
    }
    const auto first = std::partition_point(rows_.begin(), rows_.end(), [&](const LayoutRow& row) {
        return row.y + tallest_ + kLineReach < minY;
    });
    const auto last = std::partition_point(
        first, rows_.end(), [&](const LayoutRow& row) { return row.y <= maxY + kLineReach; });
    // The row before the first may still have edges that reach down into the area.
    const std::size_t begin = static_cast<std::size_t>(first - rows_.begin());
    return {begin > 0 ? begin - 1 : 0, static_cast<std::size_t>(last - rows_.begin())};
}

std::size_t LayoutIndex::firstReaching(const LayoutRow& row, double x) {
    const auto first =
        std::partition_point(row.entries.begin(), row.entries.end(), [&](const LayoutEntry& e) {
            return double(e.slotX) + e.slotWidth + row.maxOverhang <= x;
        });
    return static_cast<std::size_t>(first - row.entries.begin());
}

void LayoutIndex::viewsMeeting(Rect area, std::vector<LanthorNodeView*>& found) const {
    const auto [first, last] = rowsBetween(area.minY(), area.maxY());
    for (std::size_t level = first; level < last; ++level) {
        const LayoutRow& row = rows_[level];
        if (row.y >= area.maxY() || row.y + row.maxHeight <= area.minY()) {
            continue;
        }
        for (std::size_t i = firstReaching(row, area.minX());
             i < row.entries.size() && row.entries[i].slotX < area.maxX(); ++i) {
            LanthorNodeView* view = row.entries[i].view;
            if (view && unionRect(view->frame(), view->textRect()).intersects(area)) {
                found.push_back(view);
            }
        }
    }
}

void LayoutIndex::viewsAt(Point point, std::vector<LanthorNodeView*>& found) const {
    const auto [first, last] = rowsBetween(point.y, point.y);
    for (std::size_t level = first; level < last; ++level) {
        const LayoutRow& row = rows_[level];
        if (point.y < row.y || point.y >= row.y + row.maxHeight) {
            continue;
        }
        for (std::size_t i = firstReaching(row, point.x);
             i < row.entries.size() && row.entries[i].slotX <= point.x; ++i) {
            LanthorNodeView* view = row.entries[i].view;
            if (view && view->frame().contains(point)) {
                found.push_back(view);
            }
        }
    }
}

void LayoutIndex::edgesMeeting(Rect area, std::vector<Edge>& found) const {
    const Rect box{{area.minX() - kLineReach, area.minY() - kLineReach},
                   {area.size.width + 2 * kLineReach, area.size.height + 2 * kLineReach}};
    const auto [first, last] = rowsBetween(area.minY(), area.maxY());
    for (std::size_t level = first; level < last && level + 1 < rows_.size(); ++level) {
        const LayoutRow& row = rows_[level];
        const LayoutRow& childRow = rows_[level + 1];
        const double endY = childRow.y;
        if (std::max(row.y + row.maxHeight, endY) < box.minY() ||
            std::min(row.y, endY) > box.maxY()) {
            continue;
        }
        // Every edge lies within its parent's slot.
        for (std::size_t i = firstReaching(row, box.minX());
             i < row.entries.size() && row.entries[i].slotX < box.maxX(); ++i) {
            const LayoutEntry& parent = row.entries[i];
            const std::uint32_t childrenEnd = childEnd(level, i);
            if (!parent.view || parent.firstChild == childrenEnd) {
                continue;
            }
            const std::shared_ptr<Tree>& node = parent.view->underlyingNode();
            const bool fromTop = !node || node->nodeValue().empty();
            const Point start{parent.centre,
                              fromTop ? row.y : row.y + parent.view->frame().size.height};
            const auto [lo, hi] = endsCrossing(start, endY, box);
            const auto begin = childRow.entries.begin() + parent.firstChild;
            const auto end = childRow.entries.begin() + childrenEnd;
            for (auto child = std::partition_point(
                     begin, end, [lo = lo](const LayoutEntry& e) { return e.centre < lo; });
                 child != end && child->centre <= hi; ++child) {
                if (child->view) {
                    found.push_back({parent.view, child->view, start, {child->centre, endY}});
                }
            }
        }
    }
}

std::optional<Rect> LayoutIndex::extent() const {
    std::optional<Rect> extent;
    for (const LayoutRow& row : rows_) {
        const std::vector<LayoutEntry>& entries = row.entries;
        const auto firstView = std::find_if(entries.begin(), entries.end(),
                                            [](const LayoutEntry& e) { return e.view; });
        if (firstView == entries.end()) {
            continue;
        }
        // Frames start in x order; the widest reach is near the end of the row, and no entry
        // whose slot ends more than the overhang before the best so far can beat it.
        double right = -kInfinity;
        for (std::size_t i = entries.size(); i-- > 0;) {
            if (double(entries[i].slotX) + entries[i].slotWidth + row.maxOverhang <= right) {
                break;
            }
            if (entries[i].view) {
                right = std::max(right, rightExtent(*entries[i].view));
            }
        }
        const double left = firstView->view->frame().origin.x;
        const Rect rowExtent{{left, row.y}, {right - left, row.maxHeight}};
        extent = extent ? unionRect(*extent, rowExtent) : rowExtent;
    }
    return extent;
}

} // namespace lanthor
