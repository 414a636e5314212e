// Trees copied between tables: out of the table (what Copy takes), into it under fresh numbers
// (what Paste adds), and an insertion taken back.

#include "SubtreeDeletion.h"
#include "TreeTable.h"
#include "TreeTextParts.h"
#include "base/Utf.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace lanthor {

namespace {

/// The nodes that a walk reaches, in its order, and which of them it entered as tops.
struct ReachedNodes final : treetext::TreeVisitor {
    void enter(const Tree& node, std::size_t depth, std::size_t) override {
        if (depth == 0) {
            tops.push_back(nodes.size());
        }
        nodes.push_back(&node);
    }
    void leave(const Tree&, std::size_t) override {}

    std::vector<const Tree*> nodes;
    std::vector<std::size_t> tops; ///< indexes into `nodes`
};

/// A node with the text, flags and attributes of `node`, numbered `number`, without children
/// yet.
std::shared_ptr<Tree> copyOf(const std::shared_ptr<NodeArena>& arena, const Tree& node,
                             std::u16string_view number) {
    auto copy = allocateShared<Tree>(arena, number, u"", u"0", node.nodeValue());
    copy->attributes() = node.attributes();
    copy->setHead(node.head());
    copy->setRealRoot(node.realRoot());
    return copy;
}

/// New numbers by the rule of nextNodeNumber, as if each were stored before the next is chosen,
/// that also pass over numbers that children lists name without a node: a node stored under
/// one would turn up under those parents too.
class FreshNumbers {
public:
    explicit FreshNumbers(const NodeDictionary& nodes) : nodes_(nodes), candidate_(nodes.size()) {
        nodes.forEach([this](const std::shared_ptr<Tree>& node) {
            for (const std::u16string& child : node->childrenList()) {
                if (!nodes_.contains(child)) {
                    dangling_.insert(child);
                }
            }
        });
    }

    std::u16string next() {
        for (;; ++candidate_) {
            std::u16string number = toUtf16(std::to_string(candidate_));
            if (!nodes_.contains(number) && !dangling_.contains(number)) {
                ++candidate_;
                return number;
            }
        }
    }

private:
    const NodeDictionary& nodes_;
    std::uint64_t candidate_;
    std::unordered_set<std::u16string_view> dangling_;
};

} // namespace

std::shared_ptr<TreeTable> TreeTable::copyTrees(const std::optional<std::u16string>& top) const {
    ReachedNodes reached;
    if (top) {
        treetext::walkTree(*this, *top, reached);
    } else {
        treetext::walkTrees(*this, reached);
    }
    auto copy = std::make_shared<TreeTable>();
    std::vector<std::shared_ptr<Tree>> nodes;
    nodes.reserve(reached.nodes.size());
    for (const Tree* node : reached.nodes) {
        nodes.push_back(copyOf(copy->arena_, *node, node->nodeNumber()));
        nodes.back()->setChildrenList(node->childrenList());
    }
    if (!nodes.empty()) {
        nodes.front()->setRealRoot(true);
    }
    auto dictionary = std::make_unique<NodeDictionary>();
    dictionary->insertAll(nodes);
    for (const std::shared_ptr<Tree>& node : nodes) {
        std::erase_if(node->childrenList(), [&dictionary](const std::u16string& child) {
            return !dictionary->contains(child);
        });
        // An arrow out of the copy would point at whatever has that number where it goes.
        node->attributes().renameValues(
            NodeAttributes::kArrow,
            [&dictionary](std::u16string_view target) -> std::optional<std::u16string> {
                return dictionary->contains(target) ? std::optional(std::u16string(target))
                                                    : std::nullopt;
            });
    }
    copy->setNodeDictionary(std::move(dictionary));
    return copy;
}

std::optional<NodeInsertion> TreeTable::insertTrees(const TreeTable& source,
                                                    const std::optional<std::u16string>& parent) {
    const std::shared_ptr<Tree> parentNode =
        nodeDictionary_ && parent ? nodeDictionary_->find(*parent) : nullptr;
    if (!nodeDictionary_ || (parent && !parentNode)) {
        return std::nullopt;
    }
    ReachedNodes reached;
    treetext::walkTrees(source, reached);
    if (reached.nodes.empty()) {
        return std::nullopt;
    }
    NodeInsertion insertion{parent, reached.tops.size(), {}};
    insertion.numbers.reserve(reached.nodes.size());
    FreshNumbers fresh(*nodeDictionary_);
    std::unordered_map<std::u16string_view, std::size_t> reachedAt;
    for (std::size_t i = 0; i < reached.nodes.size(); ++i) {
        insertion.numbers.push_back(fresh.next());
        reachedAt.emplace(reached.nodes[i]->nodeNumber(), i);
    }
    std::vector<std::shared_ptr<Tree>> nodes;
    nodes.reserve(reached.nodes.size());
    for (std::size_t i = 0; i < reached.nodes.size(); ++i) {
        nodes.push_back(copyOf(arena_, *reached.nodes[i], insertion.numbers[i]));
        std::vector<std::u16string>& children = nodes.back()->childrenList();
        for (const std::u16string& child : reached.nodes[i]->childrenList()) {
            if (const auto found = reachedAt.find(child); found != reachedAt.end()) {
                children.push_back(insertion.numbers[found->second]);
            }
        }
        // Arrows follow their targets to their new numbers; one that leaves the trees goes.
        nodes.back()->attributes().renameValues(
            NodeAttributes::kArrow,
            [&](std::u16string_view target) -> std::optional<std::u16string> {
                const auto found = reachedAt.find(target);
                return found == reachedAt.end() ? std::nullopt
                                                : std::optional(insertion.numbers[found->second]);
            });
    }
    for (const std::size_t top : reached.tops) {
        nodes[top]->setRealRoot(!parentNode);
        if (parentNode) {
            parentNode->childrenList().push_back(insertion.numbers[top]);
        }
    }
    nodeDictionary_->insertAll(std::move(nodes));
    return insertion;
}

void TreeTable::takeBack(const NodeInsertion& insertion) {
    if (insertion.parent) {
        std::vector<std::u16string>& children =
            nodeDictionary_->find(*insertion.parent)->childrenList();
        children.resize(children.size() - insertion.topCount);
    }
    for (const std::u16string& number : insertion.numbers) {
        if (const std::shared_ptr<Tree> node = nodeDictionary_->find(number)) {
            releaseNodeView(*node);
            nodeDictionary_->erase(number);
        }
    }
    nodeDictionary_->compactIfSparse();
}

} // namespace lanthor
