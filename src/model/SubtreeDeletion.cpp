#include "SubtreeDeletion.h"

#include "base/Log.h"

namespace lanthor {

void releaseNodeView(Tree& node) {
    if (const std::shared_ptr<NodeView> view = node.uiObject()) {
        view->deleteSelf();
    }
    node.setUiObject(nullptr);
}

SubtreeDeletion::SubtreeDeletion(NodeDictionary& dictionary)
    : dictionary_(dictionary), positionCount_(dictionary.positionCount()),
      firstListing_(positionCount_ + 1), touched_(positionCount_, false),
      openFrames_(positionCount_, 0) {
    // Numbers are looked up a batch at a time, which is fast without holding them all.
    constexpr std::size_t kBatch = 4096;
    std::vector<std::u16string_view> batch;
    std::unordered_map<std::u16string_view, std::size_t> danglingIds;
    const auto lookUpBatch = [&]() {
        const std::vector<std::size_t> positions = dictionary.positionsOf(batch);
        for (std::size_t i = 0; i < batch.size(); ++i) {
            target_.push_back(
                positions[i] != NodeDictionary::npos
                    ? positions[i]
                    : danglingIds.try_emplace(batch[i], positionCount_ + danglingIds.size())
                          .first->second);
        }
        batch.clear();
    };
    for (std::size_t position = 0; position < positionCount_; ++position) {
        firstListing_[position] = owner_.size();
        if (const std::shared_ptr<Tree>& node = dictionary.nodeAt(position)) {
            for (const std::u16string& number : node->childrenList()) {
                batch.push_back(number);
                owner_.push_back(position);
                if (batch.size() == kBatch) {
                    lookUpBatch();
                }
            }
        }
    }
    lookUpBatch();
    const std::size_t listings = owner_.size();
    firstListing_[positionCount_] = listings;
    // Chain the listings of each number in iteration order.
    firstLinked_.assign(positionCount_ + danglingIds.size(), kNone);
    std::vector<std::size_t> lastListing(firstLinked_.size(), kNone);
    nextListing_.assign(listings, kNone);
    for (std::size_t listing = 0; listing < listings; ++listing) {
        const std::size_t id = target_[listing];
        (lastListing[id] == kNone ? firstLinked_[id] : nextListing_[lastListing[id]]) = listing;
        lastListing[id] = listing;
    }
    unlinked_.assign(listings, false);
}

void SubtreeDeletion::unlinkFromParent(std::size_t id) {
    std::size_t& first = firstLinked_[id];
    while (first != kNone) {
        const std::size_t listing = first;
        first = nextListing_[listing];
        // Nodes already removed are no longer searched; their listings can be passed for good.
        const std::size_t owner = owner_[listing];
        if (dictionary_.nodeAt(owner)) {
            unlinked_[listing] = true;
            if (!touched_[owner]) {
                touched_[owner] = true;
                touchedPositions_.push_back(owner);
            }
            return;
        }
    }
}

void SubtreeDeletion::enter(std::size_t position) {
    const std::size_t start = pending_.size();
    for (std::size_t listing = firstListing_[position]; listing < firstListing_[position + 1];
         ++listing) {
        if (!unlinked_[listing]) {
            pending_.push_back(listing);
        }
    }
    ++openFrames_[position];
    frames_.push_back({position, dictionary_.nodeAt(position), start, start, pending_.size()});
}

void SubtreeDeletion::run(std::size_t position, RemovedNodes& removedNodes,
                          std::vector<RemovedEntries>& removedEntries) {
    std::string line;
    enter(position);
    while (!frames_.empty()) {
        Frame& frame = frames_.back();
        if (frame.next < frame.end) {
            const std::size_t listing = pending_[frame.next++];
            const std::u16string& number =
                frame.node->childrenList()[listing - firstListing_[frame.position]];
            line = "Deleting Node :";
            line += toUtf8(number);
            logLine(line);
            const std::size_t id = target_[listing];
            unlinkFromParent(id);
            if (id < positionCount_ && dictionary_.nodeAt(id)) {
                enter(id); // invalidates `frame`
            }
            continue;
        }
        releaseNodeView(*frame.node);
        // A node inside a cycle may be entered again before its first entry ends: the
        // innermost entry removes it, and the outermost, the last to read its list, brings the
        // list up to date for whoever still holds the node (a view).
        if (dictionary_.nodeAt(frame.position)) {
            removedNodes.emplace_back(frame.position, frame.node);
            dictionary_.eraseAt(frame.position);
        }
        if (--openFrames_[frame.position] == 0) {
            dropUnlinkedEntries(frame.position, frame.node, removedEntries);
        }
        pending_.resize(frame.start);
        frames_.pop_back();
    }
    // Nodes that stay bring their lists up to date last.
    for (const std::size_t touched : touchedPositions_) {
        if (const std::shared_ptr<Tree>& node = dictionary_.nodeAt(touched)) {
            dropUnlinkedEntries(touched, node, removedEntries);
        }
    }
}

void SubtreeDeletion::dropUnlinkedEntries(std::size_t position, const std::shared_ptr<Tree>& node,
                                          std::vector<RemovedEntries>& removedEntries) {
    if (!touched_[position]) {
        return;
    }
    RemovedEntries& removed = removedEntries.emplace_back(RemovedEntries{node, {}});
    std::vector<std::u16string>& children = node->childrenList();
    const std::size_t first = firstListing_[position];
    std::size_t kept = 0;
    for (std::size_t entry = 0; entry < children.size(); ++entry) {
        if (unlinked_[first + entry]) {
            removed.entries.emplace_back(entry, std::move(children[entry]));
        } else {
            if (kept != entry) {
                children[kept] = std::move(children[entry]);
            }
            ++kept;
        }
    }
    children.resize(kept);
}

} // namespace lanthor
