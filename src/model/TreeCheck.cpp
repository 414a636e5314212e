#include "TreeCheck.h"

#include "NodeDictionary.h"
#include "Tree.h"
#include "base/Utf.h"

#include <cstddef>
#include <string_view>

namespace lanthor {

namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
/// Longer lists in one message end in "and N more": a hostile file must not make one line per
/// node of a single warning.
constexpr std::size_t kListedAtMost = 5;

/// A node number as the user typed it, in quotes, with the characters that would break the
/// line written as escapes.
std::string quoted(std::u16string_view number) {
    std::string text = "\"";
    for (const char c : toUtf8(number)) {
        switch (c) {
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        default:
            text += c;
        }
    }
    return text + "\"";
}

/// What is known of the stored nodes while they are checked, by position in the dictionary.
class TreeChecker {
public:
    TreeChecker(ReadRows rows, const NodeDictionary& dictionary)
        : rows_(std::move(rows)), dictionary_(dictionary) {}

    std::vector<std::string> run() {
        reportRowsNotKept();
        // The copies of the nodes were needed only to find the rows that were not kept.
        rows_.nodes = {};
        reportRoots();
        indexListings();
        reportMissingChildren();
        reportRepeatedListings();
        reportCycles();
        reportArrowsToNoNode();
        return std::move(problems_);
    }

private:
    std::string describe(std::size_t position) {
        std::string text = quoted(dictionary_.nodeAt(position)->nodeNumber());
        if (record_.empty()) {
            findRecords();
        }
        if (record_[position] != 0) {
            text += " (row " + std::to_string(record_[position]) + ")";
        }
        return text;
    }

    /// Appends "a, b and c" (at most kListedAtMost named) for the positions given.
    /// Appends "a, b and c" (at most kListedAtMost named) for the positions given, a run of
    /// one position named once with its count ("a (2 times)").
    void appendList(std::string& text, const std::vector<std::uint32_t>& positions) {
        std::vector<std::pair<std::uint32_t, std::size_t>> runs;
        for (const std::uint32_t position : positions) {
            if (!runs.empty() && runs.back().first == position) {
                ++runs.back().second;
            } else {
                runs.emplace_back(position, 1);
            }
        }
        const std::size_t named = std::min(runs.size(), kListedAtMost);
        for (std::size_t i = 0; i < named; ++i) {
            if (i > 0) {
                text += i + 1 == runs.size() ? " and " : ", ";
            }
            text += describe(runs[i].first);
            if (runs[i].second > 1) {
                text += " (" + std::to_string(runs[i].second) + " times)";
            }
        }
        if (named < runs.size()) {
            text += " and " + std::to_string(runs.size() - named) + " more";
        }
    }

    void reportRowsNotKept() {
        for (const std::uint32_t record : rows_.shortRecords) {
            problems_.push_back("row " + std::to_string(record) +
                                " has a single field, not a node: it will not be kept");
        }
        if (dictionary_.size() == rows_.nodes.size()) {
            return; // every number is new
        }
        findRecords();
        for (std::size_t i = 0; i < rows_.nodes.size(); ++i) {
            const std::size_t kept = positionOfRow_[i];
            if (kept == NodeDictionary::npos || dictionary_.nodeAt(kept) == rows_.nodes[i]) {
                continue;
            }
            const std::string row = std::to_string(rows_.recordOfNode[i]);
            problems_.push_back("row " + row + ": node " + quoted(rows_.nodes[i]->nodeNumber()) +
                                " is numbered again in row " + std::to_string(record_[kept]) +
                                ": row " + row + " will not be kept");
        }
        positionOfRow_ = {};
    }

    /// The record each stored node was read from, by position. Usually every node is stored
    /// where it was read; only repeated numbers make it look them up.
    void findRecords() {
        const std::vector<std::shared_ptr<Tree>>& nodes = rows_.nodes;
        const std::size_t read = rows_.recordOfNode.size();
        record_.assign(dictionary_.positionCount(), 0);
        if (dictionary_.size() == read && dictionary_.positionCount() == read) {
            std::copy(rows_.recordOfNode.begin(), rows_.recordOfNode.end(), record_.begin());
            return;
        }
        std::vector<std::u16string_view> numbers;
        numbers.reserve(nodes.size());
        for (const std::shared_ptr<Tree>& node : nodes) {
            numbers.push_back(node->nodeNumber());
        }
        positionOfRow_ = dictionary_.positionsOf(numbers);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const std::size_t kept = positionOfRow_[i];
            if (kept != NodeDictionary::npos && dictionary_.nodeAt(kept) == nodes[i]) {
                record_[kept] = rows_.recordOfNode[i];
            }
        }
    }

    void reportRoots() {
        std::vector<std::uint32_t> roots;
        for (std::size_t p = 0; p < dictionary_.positionCount(); ++p) {
            if (const std::shared_ptr<Tree>& node = dictionary_.nodeAt(p);
                node && node->realRoot()) {
                roots.push_back(static_cast<std::uint32_t>(p));
            }
        }
        if (roots.empty() && !dictionary_.empty()) {
            problems_.push_back("no node is marked as a root (flag \"R\"): nothing will be drawn");
        } else if (roots.size() > 1) {
            std::string text = std::to_string(roots.size()) + " nodes are marked as roots: ";
            appendList(text, roots);
            problems_.push_back(text + "; their trees are drawn side by side");
        }
    }

    /// Looks up every children entry once: target_[k] is the position that listing k names (or
    /// kNone), and the listings of the node at position p are firstListing_[p] up to
    /// firstListing_[p + 1].
    void indexListings() {
        const std::size_t count = dictionary_.positionCount();
        firstListing_.assign(count + 1, 0);
        // Looked up a batch at a time: fast, without holding every number at once.
        constexpr std::size_t kBatch = 4096;
        std::vector<std::u16string_view> batch;
        const auto lookUpBatch = [&] {
            for (const std::size_t position : dictionary_.positionsOf(batch)) {
                target_.push_back(position == NodeDictionary::npos
                                      ? kNone
                                      : static_cast<std::uint32_t>(position));
            }
            batch.clear();
        };
        for (std::size_t p = 0; p < count; ++p) {
            firstListing_[p] = static_cast<std::uint32_t>(target_.size() + batch.size());
            if (const std::shared_ptr<Tree>& node = dictionary_.nodeAt(p)) {
                for (const std::u16string& child : node->childrenList()) {
                    batch.push_back(child);
                    if (batch.size() == kBatch) {
                        lookUpBatch();
                    }
                }
            }
        }
        lookUpBatch();
        firstListing_[count] = static_cast<std::uint32_t>(target_.size());
    }

    void reportMissingChildren() {
        for (std::size_t p = 0; p + 1 < firstListing_.size(); ++p) {
            for (std::uint32_t k = firstListing_[p]; k < firstListing_[p + 1]; ++k) {
                if (target_[k] == kNone) {
                    const Tree& node = *dictionary_.nodeAt(p);
                    problems_.push_back("node " + describe(p) + " lists " +
                                        quoted(node.childrenList()[k - firstListing_[p]]) +
                                        ", which is no node: it is left out of the drawing");
                }
            }
        }
    }

    void reportRepeatedListings() {
        std::vector<std::uint32_t> listings(dictionary_.positionCount(), 0);
        for (const std::uint32_t target : target_) {
            if (target != kNone) {
                ++listings[target];
            }
        }
        // The parents of each node listed more than once, or of a root that is listed at all.
        const auto repeated = [&](std::size_t p) {
            return listings[p] > 1 || (listings[p] == 1 && dictionary_.nodeAt(p)->realRoot());
        };
        std::vector<std::vector<std::uint32_t>> parents;
        std::vector<std::uint32_t> parentsOf;
        for (std::size_t p = 0; p < listings.size(); ++p) {
            if (repeated(p)) {
                parentsOf.resize(listings.size(), kNone);
                parentsOf[p] = static_cast<std::uint32_t>(parents.size());
                parents.emplace_back();
            }
        }
        if (parents.empty()) {
            return;
        }
        for (std::size_t p = 0; p + 1 < firstListing_.size(); ++p) {
            for (std::uint32_t k = firstListing_[p]; k < firstListing_[p + 1]; ++k) {
                if (target_[k] != kNone && parentsOf[target_[k]] != kNone) {
                    parents[parentsOf[target_[k]]].push_back(static_cast<std::uint32_t>(p));
                }
            }
        }
        for (std::size_t p = 0; p < listings.size(); ++p) {
            if (parentsOf[p] == kNone) {
                continue;
            }
            std::string text;
            if (dictionary_.nodeAt(p)->realRoot()) {
                text = "root " + describe(p) + " is also listed as a child of ";
            } else {
                text = "node " + describe(p) + " is listed " + std::to_string(listings[p]) +
                       " times, as a child of ";
            }
            appendList(text, parents[parentsOf[p]]);
            problems_.push_back(text + ": it is drawn once, where it is reached first");
        }
    }

    void reportCycles() {
        enum : std::uint8_t { kUnvisited, kOnPath, kDone };
        const std::size_t count = dictionary_.positionCount();
        std::vector<std::uint8_t> state(count, kUnvisited);
        std::vector<std::uint32_t> pathIndex(count, kNone);
        struct Step {
            std::uint32_t position;
            std::uint32_t nextListing;
        };
        std::vector<Step> path;
        for (std::size_t start = 0; start < count; ++start) {
            if (!dictionary_.nodeAt(start) || state[start] != kUnvisited) {
                continue;
            }
            const auto enter = [&](std::uint32_t position) {
                state[position] = kOnPath;
                pathIndex[position] = static_cast<std::uint32_t>(path.size());
                path.push_back({position, firstListing_[position]});
            };
            enter(static_cast<std::uint32_t>(start));
            while (!path.empty()) {
                Step& step = path.back();
                if (step.nextListing == firstListing_[step.position + 1]) {
                    state[step.position] = kDone;
                    path.pop_back();
                    continue;
                }
                const std::uint32_t child = target_[step.nextListing++];
                if (child == kNone || state[child] == kDone) {
                    continue;
                }
                if (state[child] == kOnPath) {
                    reportCycle(path, pathIndex[child]);
                    continue;
                }
                enter(child);
            }
        }
    }

    /// The path from `path[from]` down to its last node, which lists `path[from]` again.
    template <typename Path> void reportCycle(const Path& path, std::size_t from) {
        const std::size_t length = path.size() - from;
        std::string text = "node " + describe(path[from].position) + " is below itself: ";
        for (std::size_t i = 0; i < length; ++i) {
            if (i == kListedAtMost && length > kListedAtMost + 1) {
                text += "... (" + std::to_string(length - kListedAtMost - 1) + " more) > ";
                i = length - 1;
            }
            text += quoted(dictionary_.nodeAt(path[from + i].position)->nodeNumber()) + " > ";
        }
        text += quoted(dictionary_.nodeAt(path[from].position)->nodeNumber());
        problems_.push_back(text + ": it is drawn once, the way back left out");
    }

    void reportArrowsToNoNode() {
        std::vector<std::string> named;
        std::size_t count = 0;
        for (std::size_t p = 0; p < dictionary_.positionCount(); ++p) {
            const std::shared_ptr<Tree>& node = dictionary_.nodeAt(p);
            if (!node || node->attributes().empty()) {
                continue;
            }
            for (const std::u16string& target : node->attributes().values(NodeAttributes::kArrow)) {
                if (!dictionary_.contains(target) && ++count <= kListedAtMost) {
                    named.push_back("from " + describe(p) + " to " + quoted(target));
                }
            }
        }
        if (count == 0) {
            return;
        }
        std::string text = count == 1 ? "an arrow names no node: " : "arrows name no node: ";
        for (std::size_t i = 0; i < named.size(); ++i) {
            if (i > 0) {
                text += i + 1 == count ? " and " : ", ";
            }
            text += named[i];
        }
        if (count > named.size()) {
            text += " and " + std::to_string(count - named.size()) + " more";
        }
        problems_.push_back(text + (count == 1 ? ": it is not drawn" : ": they are not drawn"));
    }

    ReadRows rows_;
    const NodeDictionary& dictionary_;
    std::vector<std::uint32_t> record_;      ///< per position: the record it was read from, or 0
    std::vector<std::size_t> positionOfRow_; ///< per node read: where its number is stored
    std::vector<std::uint32_t> firstListing_;
    std::vector<std::uint32_t> target_;
    std::vector<std::string> problems_;
};

} // namespace

std::vector<std::string> findTreeProblems(ReadRows rows, const NodeDictionary& dictionary) {
    return TreeChecker(std::move(rows), dictionary).run();
}

} // namespace lanthor
