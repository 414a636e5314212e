#include "TreeTable.h"

#include "SubtreeDeletion.h"
#include "TreeCheck.h"
#include "base/Log.h"

#include <cstdint>

namespace lanthor {

namespace {

std::u16string describeNumber(const std::optional<std::u16string>& number) {
    return number ? *number : u"(null)";
}

/// Removes the first entry of `owner`'s children equal to `number`, if there is one, and notes
/// it in `removed`.
void removeFirstEntry(const std::shared_ptr<Tree>& owner, std::u16string_view number,
                      std::vector<RemovedEntries>& removed) {
    std::vector<std::u16string>& list = owner->childrenList();
    for (auto entry = list.begin(); entry != list.end(); ++entry) {
        if (*entry == number) {
            const auto index = static_cast<std::size_t>(entry - list.begin());
            removed.push_back({owner, {{index, std::move(*entry)}}});
            list.erase(entry);
            return;
        }
    }
}

} // namespace

void TreeTable::loadTableFromArray(const std::optional<CsvRows>& rows) {
    if (!rows) {
        logLine("error parsing file:");
        return;
    }
    ReadRows read;
    read.nodes.reserve(rows->size());
    std::uint64_t record = 0;
    for (const CsvRow& row : *rows) {
        ++record;
        if (row.size() >= 2) {
            read.addNode(allocateShared<Tree>(arena_, row), record);
        } else if (row.size() == 1 && !row[0].empty()) {
            read.addShortRecord(record);
        }
    }
    adoptRows(std::move(read));
}

void TreeTable::adoptRows(ReadRows rows) {
    nodeDictionary_ = std::make_unique<NodeDictionary>();
    // The dictionary takes copies: the check compares what was read with what was kept.
    nodeDictionary_->insertAll(rows.nodes);
    loadWarnings_ = findTreeProblems(std::move(rows), *nodeDictionary_);
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
    nodeDictionary_->insert(allocateShared<Tree>(
        arena_, std::vector<std::u16string>{number, u"", parent ? u"0" : u"R", text}));
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

SubtreeRemoval TreeTable::deleteNode(const std::optional<std::u16string>& number) {
    logLine(u"Deleting Node :" + describeNumber(number));
    SubtreeRemoval removal;
    if (!number || !nodeDictionary_) {
        return removal;
    }
    std::shared_ptr<Tree> node = nodeDictionary_->find(*number);
    if (const std::shared_ptr<Tree> parent = findParent(number)) {
        removeFirstEntry(parent, *number, removal.entries);
    }
    if (!node) {
        return removal;
    }
    const std::size_t position = *nodeDictionary_->positionOf(*number);
    SubtreeDeletion::RemovedNodes removed;
    if (node->childrenList().empty()) {
        releaseNodeView(*node);
        nodeDictionary_->eraseAt(position);
        removed.emplace_back(position, std::move(node));
    } else {
        SubtreeDeletion(*nodeDictionary_).run(position, removed, removal.entries);
    }
    // Ranked before compaction moves the positions.
    removal.nodes = nodeDictionary_->rankRemoved(std::move(removed));
    nodeDictionary_->compactIfSparse();
    return removal;
}

void TreeTable::restore(SubtreeRemoval removal) {
    // Lists in the reverse order of their changes, each entry back at its index.
    for (auto removed = removal.entries.rbegin(); removed != removal.entries.rend(); ++removed) {
        std::vector<std::u16string>& list = removed->owner->childrenList();
        std::vector<std::u16string> merged;
        merged.reserve(list.size() + removed->entries.size());
        auto next = removed->entries.begin();
        for (std::u16string& kept : list) {
            for (; next != removed->entries.end() && next->first <= merged.size(); ++next) {
                merged.push_back(std::move(next->second));
            }
            merged.push_back(std::move(kept));
        }
        for (; next != removed->entries.end(); ++next) {
            merged.push_back(std::move(next->second));
        }
        list = std::move(merged);
    }
    nodeDictionary_->restore(std::move(removal.nodes));
}

std::string TreeLoadError::describe() const {
    return file.empty() ? message : file + ": " + message;
}

std::string treeFileBytes(std::u16string_view text) {
    std::string bytes(2 + 2 * text.size(), '\0');
    bytes[0] = '\xFF';
    bytes[1] = '\xFE';
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 + 2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[3 + 2 * i] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

} // namespace lanthor
