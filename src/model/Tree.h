#pragma once

#include "NodeAttributes.h"
#include "NodeView.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lanthor {

/// One node of a document's tree: its number, its text, the numbers of its children from left
/// to right, whether the edge from its parent is bold (`head`) and whether it is a root, its
/// attributes, and the view that shows it. Nodes never point at one another: children are named by
/// number and found through the table.
class Tree {
public:
    /// Reads a node row: number, children (trimmed, split at single spaces, empty pieces
    /// dropped), flag ("1" head, "R" root, after trimming), text and attributes. Fields after
    /// the fifth are ignored; missing ones read as empty.
    explicit Tree(const std::vector<std::u16string>& fields);
    /// Reads the fields of a node row.
    explicit Tree(std::u16string_view number, std::u16string_view children,
                  std::u16string_view flag, std::u16string_view text,
                  std::u16string_view attributes = {});

    const std::u16string& nodeNumber() const { return nodeNumber_; }
    /// Not for a node stored in a table, which finds it by the number it was stored under.
    void setNodeNumber(std::u16string number) {
        nodeNumber_ = std::move(number);
        ++revision_;
    }
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
    const NodeAttributes& attributes() const { return attributes_; }
    NodeAttributes& attributes() { return attributes_; }
    std::vector<std::u16string>& childrenList() { return childrenList_; }
    const std::vector<std::u16string>& childrenList() const { return childrenList_; }
    void setChildrenList(std::vector<std::u16string> children) {
        childrenList_ = std::move(children);
    }
    /// The view that shows this node, or null; the node does not keep it alive.
    std::shared_ptr<NodeView> uiObject() const { return uiObject_.lock(); }
    void setUiObject(const std::shared_ptr<NodeView>& view) { uiObject_ = view; }

    /// The children column as written: every entry that is not empty, each followed by a space.
    void appendChildrenText(std::u16string& text) const;
    /// The flag column as written: "R" for a root, else "1" for a bold edge, else "0".
    std::u16string_view flagText() const { return realRoot_ ? u"R" : head_ ? u"1" : u"0"; }

private:
    std::u16string nodeNumber_;
    std::u16string nodeValue_;
    std::uint64_t revision_ = 0;
    bool head_ = false;
    bool realRoot_ = false;
    std::vector<std::u16string> childrenList_;
    NodeAttributes attributes_;
    std::weak_ptr<NodeView> uiObject_;
};

} // namespace lanthor
