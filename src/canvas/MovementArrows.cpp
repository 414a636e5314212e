#include "MovementArrows.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace lanthor {

namespace {

/// How far along its tangents a quarter circle's cubic puts its controls.
constexpr double kQuarterCircle = 0.5523;

struct Span {
    double from; ///< the source leg's x
    double to;   ///< the target leg's x
    double left() const { return std::min(from, to); }
    double right() const { return std::max(from, to); }
};

/// The legs of an arrow: at the ends' centres, or, when those are too close for two corners,
/// two corners' width apart about their middle.
Span legsOf(const MovementArrows::Ends& ends) {
    const double from = ends.source.origin.x + ends.source.size.width / 2;
    const double to = ends.target.origin.x + ends.target.size.width / 2;
    const double least = 2 * MovementArrows::kCornerRadius;
    if (std::abs(to - from) >= least) {
        return {from, to};
    }
    const double middle = (from + to) / 2;
    const double side = to >= from ? 1 : -1;
    return {middle - side * least / 2, middle + side * least / 2};
}

/// The lowest run so far over each stretch of columns: raising a stretch and asking for the
/// lowest run over one both take logarithmic time, so that many arrows stay cheap.
class RunHeights {
public:
    explicit RunHeights(std::vector<double> columns) : columns_(std::move(columns)) {
        std::sort(columns_.begin(), columns_.end());
        columns_.erase(std::unique(columns_.begin(), columns_.end()), columns_.end());
        lowest_.assign(4 * std::max<std::size_t>(columns_.size(), 1), kNone);
        whole_ = lowest_;
    }
    /// The lowest run that meets the columns from `left` to `right`, or kNone.
    double lowestOver(double left, double right) const {
        return query(1, 0, columns_.size() - 1, index(left), index(right));
    }
    void raise(double left, double right, double run) {
        update(1, 0, columns_.size() - 1, index(left), index(right), run);
    }
    static constexpr double kNone = -HUGE_VAL;

private:
    std::size_t index(double column) const {
        return static_cast<std::size_t>(std::lower_bound(columns_.begin(), columns_.end(), column) -
                                        columns_.begin());
    }
    double query(std::size_t node, std::size_t from, std::size_t to, std::size_t left,
                 std::size_t right) const {
        if (right < from || to < left) {
            return kNone;
        }
        if (left <= from && to <= right) {
            return lowest_[node];
        }
        const std::size_t middle = (from + to) / 2;
        return std::max({whole_[node], query(2 * node, from, middle, left, right),
                         query(2 * node + 1, middle + 1, to, left, right)});
    }
    void update(std::size_t node, std::size_t from, std::size_t to, std::size_t left,
                std::size_t right, double run) {
        if (right < from || to < left) {
            return;
        }
        lowest_[node] = std::max(lowest_[node], run);
        if (left <= from && to <= right) {
            whole_[node] = std::max(whole_[node], run);
            return;
        }
        const std::size_t middle = (from + to) / 2;
        update(2 * node, from, middle, left, right, run);
        update(2 * node + 1, middle + 1, to, left, right, run);
    }

    std::vector<double> columns_;
    std::vector<double> lowest_; ///< per tree node: the lowest run anywhere below it
    std::vector<double> whole_;  ///< per tree node: the lowest run over all of its columns
};

ArrowRoute draw(const MovementArrows::Ends& ends, Span legs, double runY) {
    constexpr double r = MovementArrows::kCornerRadius;
    const double side = legs.to >= legs.from ? 1 : -1;
    const Point start{legs.from, ends.source.maxY()};
    const Point tip{legs.to, ends.target.maxY()};
    ArrowRoute route{Path(start), Path(tip), runY};
    Path& curve = route.curve;
    curve.lineTo({legs.from, runY - r});
    curve.curveTo({legs.from, runY - r + r * kQuarterCircle},
                  {legs.from + side * (r - r * kQuarterCircle), runY},
                  {legs.from + side * r, runY});
    curve.lineTo({legs.to - side * r, runY});
    curve.curveTo({legs.to - side * (r - r * kQuarterCircle), runY},
                  {legs.to, runY - r + r * kQuarterCircle}, {legs.to, runY - r});
    curve.lineTo({legs.to, tip.y + MovementArrows::kHeadLength});
    route.head.lineTo(
        {legs.to + MovementArrows::kHeadHalfWidth, tip.y + MovementArrows::kHeadLength});
    route.head.lineTo(
        {legs.to - MovementArrows::kHeadHalfWidth, tip.y + MovementArrows::kHeadLength});
    route.head.close();
    return route;
}

} // namespace

std::vector<ArrowRoute> MovementArrows::route(const std::vector<Ends>& arrows,
                                              const LowestBottom& lowestBottom) {
    std::vector<Span> legs;
    std::vector<double> runs(arrows.size());
    legs.reserve(arrows.size());
    for (const Ends& ends : arrows) {
        legs.push_back(legsOf(ends));
    }
    // Narrower arrows first, so that each wider one goes below those it overlaps.
    std::vector<std::size_t> order(arrows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&legs](std::size_t a, std::size_t b) {
        return legs[a].right() - legs[a].left() < legs[b].right() - legs[b].left();
    });
    std::vector<double> columns;
    columns.reserve(2 * legs.size());
    for (const Span& span : legs) {
        columns.push_back(span.from);
        columns.push_back(span.to);
    }
    RunHeights heights(std::move(columns));
    for (const std::size_t i : order) {
        const Span span = legs[i];
        double lowest = std::max(arrows[i].source.maxY(), arrows[i].target.maxY());
        if (const std::optional<double> below = lowestBottom(span.left(), span.right())) {
            lowest = std::max(lowest, *below);
        }
        const double run = std::max(lowest + kGap + kCornerRadius,
                                    heights.lowestOver(span.left(), span.right()) + kGap);
        heights.raise(span.left(), span.right(), run);
        runs[i] = run;
    }
    std::vector<ArrowRoute> routes;
    routes.reserve(arrows.size());
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        routes.push_back(draw(arrows[i], legs[i], runs[i]));
    }
    return routes;
}

} // namespace lanthor
