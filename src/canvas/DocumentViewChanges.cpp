// The canvas's layout of noted changes: the nodes whose label or children changed are measured
// again, their rows rebuilt where their children changed, the subtree widths recomputed up
// from them, and the slots and frames placed again where they moved. The frames are exactly
// those of a pass over the whole tree; where the changes cannot promise that (the tree is not
// clean, a child is listed twice...), the whole tree is laid out instead.

#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "LayoutArithmetic.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <unordered_map>

namespace lanthor {

namespace {

/// An entry of the last pass: its row and its place in the row.
struct Place {
    std::size_t level = 0;
    std::size_t index = 0;
    friend auto operator<=>(const Place&, const Place&) = default;
};

/// Where a changed node's child comes from.
struct ChildSource {
    enum Kind { Kept, Moved, Fresh };
    Kind kind;
    std::size_t index; ///< Kept: its entry in the row below; else its piece
};

/// A subtree cut out of the rows, or measured anew, as rows of its own: its root alone in the
/// first.
using Piece = std::vector<LayoutRow>;

/// Calls `visit(level, begin, end)` for the entries of the subtree at `root`, row by row.
template <typename Visit> void forEachRun(const LayoutIndex& index, Place root, Visit&& visit) {
    const std::vector<LayoutRow>& rows = index.rows();
    std::size_t begin = root.index;
    std::size_t end = root.index + 1;
    for (std::size_t level = root.level; level < rows.size() && begin < end; ++level) {
        visit(level, begin, end);
        if (level + 1 == rows.size()) {
            break;
        }
        const std::size_t childBegin = rows[level].entries[begin].firstChild;
        end = index.childEnd(level, end - 1);
        begin = childBegin;
    }
}

/// The first children of a row's entries, and the end of the last one's.
std::vector<std::uint32_t> firstChildren(const std::vector<LayoutRow>& rows, std::size_t level) {
    std::vector<std::uint32_t> first;
    if (level >= rows.size()) {
        return first;
    }
    first.reserve(rows[level].entries.size() + 1);
    for (const LayoutEntry& entry : rows[level].entries) {
        first.push_back(entry.firstChild);
    }
    first.push_back(
        level + 1 < rows.size() ? static_cast<std::uint32_t>(rows[level + 1].entries.size()) : 0);
    return first;
}

std::shared_ptr<LanthorNodeView> shared(LanthorNodeView& view) {
    return std::static_pointer_cast<LanthorNodeView>(view.shared_from_this());
}

} // namespace

/// The noted changes of one pass, as the rows are rebuilt from them.
struct LanthorDocumentView::ChangeSet {
    std::vector<Place> changed; ///< the changed nodes' entries, in order
    /// Per changed node, where each of its children comes from.
    std::vector<std::vector<ChildSource>> sources;
    std::vector<Piece> pieces;
    std::vector<Place> placed; ///< per changed node, its entry in the rebuilt rows

    std::optional<std::size_t> changedIndex(Place place) const {
        const auto found = std::lower_bound(changed.begin(), changed.end(), place);
        if (found == changed.end() || *found != place) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(found - changed.begin());
    }
};

void LanthorDocumentView::nodeViewLeaving(LanthorNodeView& view) {
    const std::uint32_t level = view.level_;
    view.level_ = LanthorNodeView::kUnplaced;
    if (level == LanthorNodeView::kUnplaced || !indexValid_) {
        return;
    }
    const std::optional<std::size_t> index = index_.find(view, level);
    if (!index) {
        return;
    }
    LayoutRow& row = index_.rows()[level];
    row.entries[*index].view = nullptr;
    row.removeHeight(view.frame().size.height);
    ++departures_;
    if (level == 0) {
        wholeTreeNeeded_ = true; // the roots are read from the table
        return;
    }
    if (LanthorNodeView* parent =
            index_.rows()[level - 1].entries[index_.parentOf(level, *index)].view) {
        changes_.push_back(shared(*parent));
    }
}

bool LanthorDocumentView::layOutChanges(const TreeTable& table) {
    const NodeDictionary* dictionary = table.nodeDictionary();
    if (!indexValid_ || wholeTreeNeeded_ || !clean_ || !index_.searchable() || !dictionary ||
        dictionary != indexDictionary_ || wrapToInt32(configuration().height()) != indexHeight_ ||
        labelSettings().generation != indexGeneration_) {
        return false;
    }
    std::vector<LayoutRow>& rows = index_.rows();

    // The changed nodes that the last pass placed.
    ChangeSet set;
    std::vector<Place>& changed = set.changed;
    for (const std::weak_ptr<LanthorNodeView>& noted : changes_) {
        const std::shared_ptr<LanthorNodeView> view = noted.lock();
        if (!view || view->superview() != this || view->level_ == LanthorNodeView::kUnplaced) {
            continue; // gone, or out of reach: nothing of it is placed
        }
        const std::optional<std::size_t> index = index_.find(*view, view->level_);
        if (!index) {
            return false;
        }
        changed.push_back({view->level_, *index});
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    if (changed.empty()) {
        return departures_ == 0;
    }

    // What each changed node lists now. Every child must name a node and be listed once; a
    // child placed before stays under its parent, or moves from a changed node that no longer
    // lists it; any other child is new to the layout.
    std::vector<std::vector<ChildSource>>& sources = set.sources;
    sources.resize(changed.size());
    std::vector<Piece>& pieces = set.pieces;
    std::vector<std::shared_ptr<Tree>> freshRoots; // per piece: the root of a new subtree
    std::vector<Place> origins;                    // per piece: where a moved subtree was
    std::vector<Place> dropped; // subtrees that no node lists any more: deleted, or unreached
    std::unordered_map<const Tree*, std::size_t> claimedBy;
    bool restructured = false;
    for (std::size_t c = 0; c < changed.size(); ++c) {
        const Place place = changed[c];
        const LayoutEntry& entry = rows[place.level].entries[place.index];
        const std::uint32_t first = entry.firstChild;
        const std::uint32_t end = index_.childEnd(place.level, place.index);
        for (const std::u16string& number : entry.view->underlyingNode_->childrenList()) {
            const std::optional<std::size_t> position = dictionary->positionOf(number);
            if (!position) {
                return false;
            }
            const std::shared_ptr<Tree>& child = dictionary->nodeAt(*position);
            if (!claimedBy.emplace(child.get(), c).second) {
                return false;
            }
            const std::shared_ptr<LanthorNodeView> view = nodeViewOf(*child);
            if (!view || view->superview() != this || view->level_ == LanthorNodeView::kUnplaced) {
                sources[c].push_back({ChildSource::Fresh, pieces.size()});
                pieces.emplace_back();
                freshRoots.push_back(child);
                origins.emplace_back();
                continue;
            }
            const std::size_t level = view->level_;
            const std::optional<std::size_t> index = index_.find(*view, level);
            if (!index || level == 0) {
                return false; // a root listed as a child
            }
            const std::size_t parent = index_.parentOf(level, *index);
            if (level == place.level + 1 && parent == place.index) {
                sources[c].push_back({ChildSource::Kept, *index});
            } else if (set.changedIndex({level - 1, parent})) {
                sources[c].push_back({ChildSource::Moved, pieces.size()});
                pieces.emplace_back();
                freshRoots.push_back(nullptr);
                origins.push_back({level, *index});
            } else {
                return false; // its parent lists it too
            }
        }
        std::vector<bool> kept(end - first, false);
        for (std::size_t i = 0; i < sources[c].size(); ++i) {
            const ChildSource& source = sources[c][i];
            if (source.kind == ChildSource::Kept) {
                kept[source.index - first] = true;
            }
            restructured =
                restructured || source.kind != ChildSource::Kept || source.index != first + i;
        }
        restructured = restructured || sources[c].size() != end - first;
        for (std::uint32_t j = first; j < end; ++j) {
            const LanthorNodeView* view = rows[place.level + 1].entries[j].view;
            if (!kept[j - first] && !(view && claimedBy.count(view->underlyingNode_.get()))) {
                dropped.push_back({place.level + 1, j});
            }
        }
    }
    std::vector<Place> leaving = dropped;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (!freshRoots[p]) {
            leaving.push_back(origins[p]);
        }
    }
    std::sort(leaving.begin(), leaving.end());
    // A change inside a subtree that leaves its place would have to move with it.
    for (const Place place : changed) {
        for (Place at = place; at.level > 0;) {
            if (std::binary_search(leaving.begin(), leaving.end(), at)) {
                return false;
            }
            at = {at.level - 1, index_.parentOf(at.level, at.index)};
        }
    }
    // Every view that left since the last pass must be in a subtree that no node lists now.
    std::size_t departed = 0;
    for (const Place root : leaving) {
        forEachRun(index_, root, [&](std::size_t level, std::size_t begin, std::size_t end) {
            for (std::size_t j = begin; j < end; ++j) {
                departed += rows[level].entries[j].view ? 0 : 1;
            }
        });
    }
    if (departed != departures_) {
        return false;
    }

    // New subtrees, measured as rows of their own; they may reach only nodes not placed yet.
    MeasureWalk walk{newWalkStamp(), 0};
    walk.refusePlaced = true;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (freshRoots[p]) {
            measureTree(freshRoots[p], *dictionary, pieces[p], walk);
            LayoutIndex::trimRows(pieces[p]);
            if (walk.refused || !walk.clean || pieces[p].empty()) {
                return false;
            }
        }
    }

    // From here on the layout changes. The changed labels first: their views change size.
    for (const Place place : changed) {
        LanthorNodeView& view = *rows[place.level].entries[place.index].view;
        const double before = view.frame().size.height;
        measureNode(view.underlyingNode_, shared(view));
        if (view.frame().size.height != before) {
            rows[place.level].removeHeight(before);
            rows[place.level].addHeight(view.frame().size.height);
        }
        rows[place.level].noteOverhang(view);
    }
    // Subtrees that move are cut out of their rows, with their widths.
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (freshRoots[p]) {
            continue;
        }
        forEachRun(index_, origins[p], [&](std::size_t level, std::size_t begin, std::size_t end) {
            const std::uint32_t below = rows[level].entries[begin].firstChild;
            LayoutRow& row = pieces[p].emplace_back();
            for (std::size_t j = begin; j < end; ++j) {
                LayoutEntry entry = rows[level].entries[j];
                entry.firstChild -= below;
                row.entries.push_back(entry);
                if (entry.view) {
                    rows[level].removeHeight(entry.view->frame().size.height);
                }
            }
        });
    }
    // Those that no node lists any more keep their frames, out of reach, as strays.
    for (const Place root : dropped) {
        forEachRun(index_, root, [&](std::size_t level, std::size_t begin, std::size_t end) {
            for (std::size_t j = begin; j < end; ++j) {
                if (LanthorNodeView* view = rows[level].entries[j].view) {
                    rows[level].removeHeight(view->frame().size.height);
                    view->level_ = LanthorNodeView::kUnplaced;
                    strays_.push_back(shared(*view));
                }
            }
        });
    }

    set.placed = changed;
    if (restructured) {
        rebuildRows(set);
    }

    // Subtree widths, up from each changed node as far as they change.
    std::vector<std::vector<std::size_t>> widthsToDo(rows.size());
    for (const Place place : set.placed) {
        widthsToDo[place.level].push_back(place.index);
    }
    for (std::size_t level = rows.size(); level-- > 0;) {
        std::vector<std::size_t>& toDo = widthsToDo[level];
        std::sort(toDo.begin(), toDo.end());
        toDo.erase(std::unique(toDo.begin(), toDo.end()), toDo.end());
        for (const std::size_t i : toDo) {
            LayoutEntry& entry = rows[level].entries[i];
            std::int32_t childrenWidth = 0;
            const std::size_t childrenEnd = index_.childEnd(level, i);
            for (std::size_t j = entry.firstChild; j < childrenEnd; ++j) {
                childrenWidth =
                    wrapToInt32(std::int64_t{childrenWidth} + rows[level + 1].entries[j].slotWidth);
            }
            const double width = entry.view->frame().size.width;
            const std::int32_t slotWidth = truncateToInt32(std::max(width, double(childrenWidth)));
            entry.childOffset =
                width > childrenWidth ? truncateToInt32((width - childrenWidth) * 0.5) : 0;
            rows[level].markDirty(i, i + 1);
            if (slotWidth != entry.slotWidth && level > 0) {
                widthsToDo[level - 1].push_back(index_.parentOf(level, i));
            }
            entry.slotWidth = slotWidth;
        }
    }

    setRowTops(rows, 0, indexHeight_);
    index_.place(kRootX);
    std::erase_if(strays_, [](const std::weak_ptr<LanthorNodeView>& stray) {
        const std::shared_ptr<LanthorNodeView> view = stray.lock();
        return !view || view->level_ != LanthorNodeView::kUnplaced;
    });
    return true;
}

void LanthorDocumentView::rebuildRows(ChangeSet& set) {
    std::vector<LayoutRow>& rows = index_.rows();
    // Where the children of an entry of the row just built come from: the old rows, a piece,
    // or a changed node's list.
    struct Origin {
        enum Kind : std::uint8_t { Old, FromPiece, Changed };
        Kind kind;
        std::uint32_t piece;
        std::uint32_t index; ///< in the old row, in the piece's row, or in set.changed
    };
    const auto originOf = [&](std::size_t level, std::size_t index) -> Origin {
        if (const std::optional<std::size_t> c = set.changedIndex({level, index})) {
            return {Origin::Changed, 0, static_cast<std::uint32_t>(*c)};
        }
        return {Origin::Old, 0, static_cast<std::uint32_t>(index)};
    };
    // The rows above the first change stay as they are. Below, each row is built anew from the
    // one above it, while the old one is still there to copy from.
    std::size_t level = set.changed.front().level;
    std::vector<Origin> origins;
    origins.reserve(rows[level].entries.size());
    for (std::size_t i = 0; i < rows[level].entries.size(); ++i) {
        origins.push_back(originOf(level, i));
    }
    std::vector<std::uint32_t> oldFirst = firstChildren(rows, level);
    std::vector<std::size_t> pieceTop(set.pieces.size()); // the level each piece's root lands on
    for (;; ++level) {
        const bool oldBelow = level + 1 < rows.size();
        LayoutRow built;
        if (oldBelow) {
            const LayoutRow& old = rows[level + 1];
            built.maxHeight = old.maxHeight;
            built.tallCount = old.tallCount;
            built.heightsStale = old.heightsStale;
            built.maxOverhang = old.maxOverhang;
            built.entries.reserve(old.entries.size() + 16);
        }
        std::vector<Origin> builtOrigins;
        builtOrigins.reserve(built.entries.capacity());
        const auto appendOld = [&](std::uint32_t j) {
            builtOrigins.push_back(originOf(level + 1, j));
            built.entries.push_back(rows[level + 1].entries[j]);
        };
        const auto appendPiece = [&](std::size_t p, std::size_t r, std::uint32_t t) {
            const LayoutEntry& entry = set.pieces[p][r].entries[t];
            entry.view->level_ = static_cast<std::uint32_t>(level + 1);
            built.addHeight(entry.view->frame().size.height);
            built.noteOverhang(*entry.view);
            built.markDirty(built.entries.size(), built.entries.size() + 1);
            builtOrigins.push_back({Origin::FromPiece, static_cast<std::uint32_t>(p), t});
            built.entries.push_back(entry);
        };
        std::vector<LayoutEntry>& parents = rows[level].entries;
        for (std::size_t i = 0; i < parents.size(); ++i) {
            parents[i].firstChild = static_cast<std::uint32_t>(built.entries.size());
            const Origin origin = origins[i];
            switch (origin.kind) {
            case Origin::Old:
                for (std::uint32_t j = oldFirst[origin.index]; j < oldFirst[origin.index + 1];
                     ++j) {
                    appendOld(j);
                }
                break;
            case Origin::FromPiece: {
                const Piece& piece = set.pieces[origin.piece];
                const std::size_t r = level - pieceTop[origin.piece];
                if (r + 1 < piece.size()) {
                    const std::vector<LayoutEntry>& entries = piece[r].entries;
                    const std::uint32_t end =
                        origin.index + 1 < entries.size()
                            ? entries[origin.index + 1].firstChild
                            : static_cast<std::uint32_t>(piece[r + 1].entries.size());
                    for (std::uint32_t t = entries[origin.index].firstChild; t < end; ++t) {
                        appendPiece(origin.piece, r + 1, t);
                    }
                }
                break;
            }
            case Origin::Changed:
                set.placed[origin.index] = {level, i};
                for (const ChildSource& source : set.sources[origin.index]) {
                    if (source.kind == ChildSource::Kept) {
                        appendOld(static_cast<std::uint32_t>(source.index));
                    } else {
                        pieceTop[source.index] = level + 1;
                        appendPiece(source.index, 0, 0);
                    }
                }
                break;
            }
        }
        if (built.entries.empty()) {
            rows.resize(level + 1);
            return;
        }
        std::vector<std::uint32_t> nextOldFirst = firstChildren(rows, level + 1);
        if (oldBelow) {
            rows[level + 1] = std::move(built);
        } else {
            rows.push_back(std::move(built));
        }
        origins = std::move(builtOrigins);
        oldFirst = std::move(nextOldFirst);
    }
}

} // namespace lanthor
