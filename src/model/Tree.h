#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lanthor {

class LanthorNodeView;

/// One node of a document's tree: its number, its text, the numbers of its children from left
/// to right, whether the edge from its parent is bold (`head`) and whether it is a root, and the
/// view that shows it. Nodes never point at one another: children are named by number and found
/// through the table.
class Tree {
public:
    /// Reads a node row: number, children (trimmed, split at single spaces, empty pieces
    /// dropped), flag ("1" head, "R" root, after trimming) and text. Fields after the fourth are
    /// ignored; missing ones read as empty.
    explicit Tree(const std::vector<std::u16string>& fields);
    /// The same, taking the number and the text from `fields` instead of copying them.
    explicit Tree(std::vector<std::u16string>&& fields);

    /// Set once, from the row: the table keys the node by it.
    const std::u16string& nodeNumber() const { return nodeNumber_; }
    const std::u16string& nodeValue() const { return nodeValue_; }
    void setNodeValue(std::u16string value) {
        nodeValue_ = std::move(value);
        ++revision_;
    }
    /// Counts the changes of the number and the text, so that what is made from them (a node's
    /// label) can tell when it is out of date without keeping a copy.
    std::uint64_t revision() const { return revision_; }
    bool head() const { return head_; }
    void setHead(bool head) { head_ = head; }
    bool realRoot() const { return realRoot_; }
    void setRealRoot(bool realRoot) { realRoot_ = realRoot; }
    std::vector<std::u16string>& childrenList() { return childrenList_; }
    const std::vector<std::u16string>& childrenList() const { return childrenList_; }
    void setChildrenList(std::vector<std::u16string> children) {
        childrenList_ = std::move(children);
    }
    /// The view that shows this node, or null; the node does not keep it alive.
    std::shared_ptr<LanthorNodeView> uiObject() const { return uiObject_.lock(); }
    void setUiObject(const std::shared_ptr<LanthorNodeView>& view) { uiObject_ = view; }

    /// The four fields of the node row as written: number, children each followed by a space,
    /// flag ("R" wins over "1", else "0"), text.
    std::array<std::u16string, 4> rowFields() const;

private:
    void readChildrenAndFlag(const std::vector<std::u16string>& fields);

    std::u16string nodeNumber_;
    std::u16string nodeValue_;
    std::uint64_t revision_ = 0;
    bool head_ = false;
    bool realRoot_ = false;
    std::vector<std::u16string> childrenList_;
    std::weak_ptr<LanthorNodeView> uiObject_;
};

} // namespace lanthor
