#include "TreeTable.h"

#include "app/LanthorNodeView.h"
#include "csv/Log.h"

#include <algorithm>
#include <cstdint>

namespace lanthor {

namespace {

std::u16string describeNumber(const std::optional<std::u16string>& number) {
    return number ? *number : u"(null)";
}

/// Removes the first entry of `list` equal to `number`; true when there was one.
bool removeFirstEntry(std::vector<std::u16string>& list, std::u16string_view number) {
    for (auto entry = list.begin(); entry != list.end(); ++entry) {
        if (*entry == number) {
            list.erase(entry);
            return true;
        }
    }
    return false;
}

/// Lets a view go and forgets it, as every deleted node's view must.
void releaseView(Tree& node) {
    if (auto view = node.uiObject()) {
        view->deleteSelf();
    }
    node.setUiObject(nullptr);
}

} // namespace

void TreeTable::loadTableFromArray(const std::optional<CsvRows>& rows) {
    if (!rows) {
        logLine("error parsing file:");
        return;
    }
    auto dictionary = std::make_unique<NodeDictionary>();
    for (const CsvRow& row : *rows) {
        if (row.size() >= 2) {
            dictionary->insert(std::make_shared<Tree>(row));
        }
    }
    nodeDictionary_ = std::move(dictionary);
}

std::u16string TreeTable::nextNodeNumber() const {
    std::uint64_t candidate = nodeDictionary_ ? nodeDictionary_->size() : 0;
    for (;;) {
        const std::u16string number = toUtf16(std::to_string(candidate));
        if (!nodeDictionary_ || !nodeDictionary_->contains(number)) {
            return number;
        }
        ++candidate;
    }
}

void TreeTable::addNode(const std::optional<std::u16string>& parentNumber,
                        const std::u16string& text) {
    logLine(u"Adding Node :" + text + u" to " + describeNumber(parentNumber) + u")");
    const std::shared_ptr<Tree> parent =
        nodeDictionary_ && parentNumber ? nodeDictionary_->find(*parentNumber) : nullptr;
    if (!parent && nodeDictionary_ && !nodeDictionary_->empty()) {
        logLine(u"Failed to add root node " + text);
        return;
    }
    if (!nodeDictionary_) {
        return; // a table whose only load failed has nowhere to keep a node
    }
    const std::u16string number = nextNodeNumber();
    nodeDictionary_->insert(std::make_shared<Tree>(
        std::vector<std::u16string>{number, u"", parent ? u"0" : u"R", text}));
    if (parent) {
        parent->childrenList().push_back(number);
    }
}

std::shared_ptr<Tree> TreeTable::findParent(const std::optional<std::u16string>& number) const {
    if (!number || !nodeDictionary_) {
        return nullptr;
    }
    return nodeDictionary_->findFirst([&number](const Tree& node) {
        for (const std::u16string& child : node.childrenList()) {
            if (child == *number) {
                return true;
            }
        }
        return false;
    });
}

void TreeTable::deleteNode(const std::optional<std::u16string>& number) {
    logLine(u"Deleting Node :" + describeNumber(number));
    if (!number || !nodeDictionary_) {
        return;
    }
    std::shared_ptr<Tree> node = nodeDictionary_->find(*number);
    if (const std::shared_ptr<Tree> parent = findParent(number)) {
        removeFirstEntry(parent->childrenList(), *number);
    }
    if (!node) {
        return;
    }
    if (node->childrenList().empty()) {
        releaseView(*node);
        nodeDictionary_->erase(*number);
        return;
    }
    deleteSubtree(*number, std::move(node));
}

namespace {

/// Answers "which node is the parent of this number now?" during one subtree deletion, as a
/// scan of the map in iteration order would, without scanning: every place where a number is
/// listed is known in order, and deletion only ever unlinks the first of them whose node is
/// still in the map. Unlinked entries are marked, and dropped from their lists at the end.
class SubtreeDeletion {
public:
    explicit SubtreeDeletion(NodeDictionary& dictionary) : dictionary_(dictionary) {
        firstListingAt_.resize(dictionary.positionCount());
        for (std::size_t position = 0; position < dictionary.positionCount(); ++position) {
            firstListingAt_[position] = listings_.size();
            const std::shared_ptr<Tree>& node = dictionary.nodeAt(position);
            if (!node) {
                continue;
            }
            for (const std::u16string& child : node->childrenList()) {
                const auto index = static_cast<std::int64_t>(listings_.size());
                listings_.push_back({position, -1, false});
                if (const auto chain = chainIndex_.find(child)) {
                    listings_[static_cast<std::size_t>(chains_[*chain].last)].next = index;
                    chains_[*chain].last = index;
                } else {
                    chains_.push_back({child, index, index});
                    chainIndex_.insert(static_cast<std::uint32_t>(chains_.size() - 1));
                }
            }
        }
    }

    /// Unlinks `number` from its parent, as deleteNode's first step does.
    void unlinkFromParent(std::u16string_view number) {
        const auto chain = chainIndex_.find(number);
        if (!chain) {
            return;
        }
        std::int64_t& first = chains_[*chain].first;
        while (first >= 0) {
            Listing& listing = listings_[static_cast<std::size_t>(first)];
            first = listing.next;
            if (dictionary_.nodeAt(listing.position)) {
                listing.unlinked = true;
                touched_.push_back(listing.position);
                return;
            }
        }
    }

    /// The entries of the node at `position` that are still linked, in order.
    std::vector<std::u16string> linkedChildren(std::size_t position) const {
        const auto& all = dictionary_.nodeAt(position)->childrenList();
        std::vector<std::u16string> children;
        children.reserve(all.size());
        for (std::size_t entry = 0; entry < all.size(); ++entry) {
            if (!listings_[firstListingAt_[position] + entry].unlinked) {
                children.push_back(all[entry]);
            }
        }
        return children;
    }

    /// Drops the unlinked entries from the lists of `nodeAtPosition(position)` for every
    /// position touched.
    template <typename NodeAt> void dropUnlinkedEntries(NodeAt nodeAtPosition) {
        std::sort(touched_.begin(), touched_.end());
        touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
        for (const std::size_t position : touched_) {
            const std::shared_ptr<Tree> node = nodeAtPosition(position);
            auto& children = node->childrenList();
            std::vector<std::u16string> kept;
            for (std::size_t entry = 0; entry < children.size(); ++entry) {
                if (!listings_[firstListingAt_[position] + entry].unlinked) {
                    kept.push_back(std::move(children[entry]));
                }
            }
            children = std::move(kept);
        }
    }

private:
    struct Listing {
        std::size_t position; ///< of the node whose list holds the entry
        std::int64_t next;    ///< the next listing of the same number, or -1
        bool unlinked;
    };
    /// Every listing of one number, in iteration order; `first` is the earliest not yet passed.
    struct Chain {
        std::u16string_view number; ///< views a children list's own string, untouched until the end
        std::int64_t first;
        std::int64_t last;
    };
    struct NumberOfChain {
        const std::vector<Chain>* chains;
        std::u16string_view operator()(std::uint32_t chain) const {
            return (*chains)[chain].number;
        }
    };

    NodeDictionary& dictionary_;
    std::vector<Listing> listings_; ///< in iteration order: a node's entries lie together
    std::vector<std::size_t> firstListingAt_;
    std::vector<Chain> chains_;
    FlatIndex<NumberOfChain> chainIndex_{NumberOfChain{&chains_}};
    std::vector<std::size_t> touched_;
};

} // namespace

void TreeTable::deleteSubtree(const std::u16string& number, std::shared_ptr<Tree> node) {
    NodeDictionary& dictionary = *nodeDictionary_;
    SubtreeDeletion deletion(dictionary);
    // Nodes leave the map during the deletion, but their lists still lose their unlinked
    // entries at the end, as they would have one by one.
    std::vector<std::shared_ptr<Tree>> removed(dictionary.positionCount());

    // The recursion of deleteNode, kept on the heap so that deep trees cannot exhaust the
    // stack: each frame is one call that has unlinked its node and is deleting its children.
    struct Frame {
        std::u16string number;
        std::shared_ptr<Tree> node;
        std::size_t position;
        std::vector<std::u16string> children;
        std::size_t next = 0;
    };
    std::vector<Frame> frames;
    const auto enter = [&](std::u16string childNumber, std::shared_ptr<Tree> childNode) {
        const std::size_t position = *dictionary.positionOf(childNumber);
        std::vector<std::u16string> children = deletion.linkedChildren(position);
        frames.push_back(
            {std::move(childNumber), std::move(childNode), position, std::move(children)});
    };
    enter(number, std::move(node));
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next < frame.children.size()) {
            std::u16string child = frame.children[frame.next++];
            logLine(u"Deleting Node :" + child);
            deletion.unlinkFromParent(child);
            if (std::shared_ptr<Tree> childNode = dictionary.find(child)) {
                enter(std::move(child), std::move(childNode));
            }
            continue;
        }
        releaseView(*frame.node);
        removed[frame.position] = frame.node;
        dictionary.erase(frame.number);
        frames.pop_back();
    }
    deletion.dropUnlinkedEntries([&](std::size_t position) {
        const std::shared_ptr<Tree>& stillThere = dictionary.nodeAt(position);
        return stillThere ? stillThere : removed[position];
    });
    dictionary.compact();
}

std::string TreeLoadError::describe() const {
    return file.empty() ? message : file + ": " + message;
}

std::string treeFileBytes(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + 2 * text.size());
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace lanthor
