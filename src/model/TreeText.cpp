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

void walkTrees(const TreeTable& table, TreeVisitor& visitor) {
    const NodeDictionary* nodes = table.nodeDictionary();
    if (!nodes) {
        return;
    }
    std::vector<bool> claimed(nodes->positionCount());
    // The children of every open node, innermost last.
    std::vector<const Tree*> pending;
    struct Frame {
        const Tree* node;
        std::size_t start; ///< the node's children in `pending`: start to end
        std::size_t next;
        std::size_t end;
    };
    std::vector<Frame> open;
    const auto enter = [&](const Tree& node) {
        const std::size_t start = pending.size();
        for (const std::u16string& child : node.childrenList()) {
            const auto position = nodes->positionOf(child);
            if (position && !claimed[*position]) {
                claimed[*position] = true;
                pending.push_back(nodes->nodeAt(*position).get());
            }
        }
        visitor.enter(node, open.size(), pending.size() - start);
        if (pending.size() > start) {
            open.push_back({&node, start, start, pending.size()});
        }
    };
    for (std::size_t root = 0; root < nodes->positionCount(); ++root) {
        const std::shared_ptr<Tree>& top = nodes->nodeAt(root);
        if (!top || !top->realRoot() || claimed[root]) {
            continue;
        }
        claimed[root] = true;
        enter(*top);
        while (!open.empty()) {
            Frame& frame = open.back();
            if (frame.next == frame.end) {
                pending.resize(frame.start);
                const Tree& done = *frame.node;
                open.pop_back();
                visitor.leave(done, open.size());
                continue;
            }
            enter(*pending[frame.next++]);
        }
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
