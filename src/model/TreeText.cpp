// The shared parts of the tree text notations, and the choice between them.

#include "TreeTextParts.h"

#include <algorithm>
#include <charconv>

namespace lanthor {

namespace treetext {

TreeTextError errorAt(std::u16string_view text, std::size_t offset, std::string message) {
    const std::u16string_view before = text.substr(0, offset);
    const std::size_t lineStart = before.rfind(u'\n');
    const std::size_t column =
        lineStart == std::u16string_view::npos ? offset + 1 : offset - lineStart;
    const auto lines = static_cast<std::size_t>(std::count(before.begin(), before.end(), u'\n'));
    return {lines + 1, column, std::move(message)};
}

void TreeBuilder::open(std::u16string text) {
    Tree& node = add(std::move(text));
    open_.push_back(&node);
}

void TreeBuilder::addLeaf(std::u16string text) {
    add(std::move(text));
}

Tree& TreeBuilder::add(std::u16string text) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), nodes_.size()).ptr;
    const std::u16string number(digits, end);
    auto node = allocateShared<Tree>(arena_, number, u"", open_.empty() ? u"R" : u"", u"");
    node->setNodeValue(std::move(text));
    if (!open_.empty()) {
        open_.back()->childrenList().push_back(number);
    }
    nodes_.push_back(std::move(node));
    return *nodes_.back();
}

std::shared_ptr<TreeTable> TreeBuilder::finish() {
    auto dictionary = std::make_unique<NodeDictionary>();
    dictionary->insertAll(std::move(nodes_));
    auto table = std::make_shared<TreeTable>();
    table->setNodeDictionary(std::move(dictionary));
    return table;
}

namespace {

/// One walk over trees of a table: each node is visited once, claimed by the first node entered
/// that lists it.
class TreeWalk {
public:
    TreeWalk(const NodeDictionary& nodes, TreeVisitor& visitor)
        : nodes_(nodes), visitor_(visitor), claimed_(nodes.positionCount()) {}

    /// Walks the tree below the node at `position`, unless the walk has reached it already.
    void walkFrom(std::size_t position) {
        if (claimed_[position]) {
            return;
        }
        claimed_[position] = true;
        enter(*nodes_.nodeAt(position));
        while (!open_.empty()) {
            Frame& frame = open_.back();
            if (frame.next == frame.end) {
                pending_.resize(frame.start);
                const Tree& done = *frame.node;
                open_.pop_back();
                visitor_.leave(done, open_.size());
                continue;
            }
            enter(*pending_[frame.next++]);
        }
    }

private:
    void enter(const Tree& node) {
        const std::size_t start = pending_.size();
        for (const std::u16string& child : node.childrenList()) {
            const auto position = nodes_.positionOf(child);
            if (position && !claimed_[*position]) {
                claimed_[*position] = true;
                pending_.push_back(nodes_.nodeAt(*position).get());
            }
        }
        visitor_.enter(node, open_.size(), pending_.size() - start);
        if (pending_.size() > start) {
            open_.push_back({&node, start, start, pending_.size()});
        }
    }

    struct Frame {
        const Tree* node;
        std::size_t start; ///< the node's children in `pending_`: start to end
        std::size_t next;
        std::size_t end;
    };

    const NodeDictionary& nodes_;
    TreeVisitor& visitor_;
    std::vector<bool> claimed_;
    std::vector<const Tree*> pending_; ///< the children of every open node, innermost last
    std::vector<Frame> open_;
};

} // namespace

void walkTrees(const TreeTable& table, TreeVisitor& visitor) {
    const NodeDictionary* nodes = table.nodeDictionary();
    if (!nodes) {
        return;
    }
    TreeWalk walk(*nodes, visitor);
    for (std::size_t root = 0; root < nodes->positionCount(); ++root) {
        if (const std::shared_ptr<Tree>& top = nodes->nodeAt(root); top && top->realRoot()) {
            walk.walkFrom(root);
        }
    }
}

void walkTree(const TreeTable& table, std::u16string_view top, TreeVisitor& visitor) {
    const NodeDictionary* nodes = table.nodeDictionary();
    if (const std::optional<std::size_t> position = nodes ? nodes->positionOf(top) : std::nullopt) {
        TreeWalk(*nodes, visitor).walkFrom(*position);
    }
}

} // namespace treetext

std::variant<std::shared_ptr<TreeTable>, TreeTextError> readTreeText(std::u16string_view text,
                                                                     TreeTextFormat format) {
    return format == TreeTextFormat::Brackets ? treetext::readBrackets(text)
                                              : treetext::readPenn(text);
}

std::u16string writeTreeText(const TreeTable& table, TreeTextFormat format, bool indented) {
    return format == TreeTextFormat::Brackets ? treetext::writeBrackets(table, indented)
                                              : treetext::writePenn(table);
}

} // namespace lanthor
