#pragma once

// What the bracket and Penn readers and writers share: the white space of both notations, the
// error position, building the table in reading order, and a walk over the trees without
// recursion (a deep tree would exhaust the stack).

#include "TreeText.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lanthor::treetext {

/// Space, tab and U+000A to U+000D separate tokens in both notations.
constexpr bool isBlank(char16_t c) {
    return c == u' ' || (c >= 0x09 && c <= 0x0D);
}

/// The first code unit at or after `at` that is not blank, or the text's end.
inline std::size_t skipBlanks(std::u16string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

/// The error at code unit `offset` of `text`: lines end at line feeds.
TreeTextError errorAt(std::u16string_view text, std::size_t offset, std::string message);

/// Collects the nodes in reading order, numbering each as it is opened.
class TreeBuilder {
public:
    /// A new node with `text` under the innermost open node (a root when none is open); it
    /// becomes the innermost open node.
    void open(std::u16string text);
    /// A new node with `text` and no children under the innermost open node.
    void addLeaf(std::u16string text);
    void setText(std::u16string text) { open_.back()->setNodeValue(std::move(text)); }
    /// Gives the innermost open node a roof over its children.
    void setRoof() { open_.back()->attributes().set(NodeAttributes::kRoof); }
    void close() { open_.pop_back(); }
    bool empty() const { return nodes_.empty(); }
    std::shared_ptr<TreeTable> finish();

private:
    Tree& add(std::u16string text);

    /// Nodes taken from an arena load several times faster than from the general heap.
    std::shared_ptr<NodeArena> arena_ = std::make_shared<NodeArena>();
    std::vector<std::shared_ptr<Tree>> nodes_;
    std::vector<Tree*> open_;
};

/// Receives the walk's nodes in text order.
class TreeVisitor {
public:
    virtual ~TreeVisitor() = default;
    /// A node at `depth` (0 for a top node) about to be written, with `childCount` children
    /// still to come.
    virtual void enter(const Tree& node, std::size_t depth, std::size_t childCount) = 0;
    /// The end of a node with children.
    virtual void leave(const Tree& node, std::size_t depth) = 0;
};

/// Walks every tree from the table's roots in table order. A node is visited once: it is
/// claimed by the first node entered that lists it, and children that name no node are passed
/// over.
void walkTrees(const TreeTable& table, TreeVisitor& visitor);
/// Walks the one tree below the node numbered `top`, in the same way; nothing when there is no
/// such node.
void walkTree(const TreeTable& table, std::u16string_view top, TreeVisitor& visitor);

std::variant<std::shared_ptr<TreeTable>, TreeTextError> readBrackets(std::u16string_view text);
std::u16string writeBrackets(const TreeTable& table, bool indented);
std::variant<std::shared_ptr<TreeTable>, TreeTextError> readPenn(std::u16string_view text);
std::u16string writePenn(const TreeTable& table);

} // namespace lanthor::treetext
