// The commands that move trees as wholes, for drag and drop and the clipboard: moving a node to
// a place of choice, pasting trees, and copying the selected one.

#include "FerrowLanthorDocument.h"
#include "base/Utf.h"
#include "model/TreeEdits.h"
#include "model/TreeTable.h"

namespace lanthor {

std::variant<std::shared_ptr<Tree>, std::string>
FerrowLanthorDocument::checkMove(std::u16string_view number, std::u16string_view newParent) const {
    const std::string moving = "Node " + toUtf8(number) + " cannot move";
    const std::shared_ptr<Tree> node = findNode(number);
    if (!node) {
        return moving + ": there is no such node.";
    }
    std::shared_ptr<Tree> parent = treeTable_->findParent(node->nodeNumber());
    if (!parent) {
        return moving + ": it has no parent.";
    }
    const std::string under = moving + " under node " + toUtf8(newParent);
    if (!findNode(newParent)) {
        return under + ": there is no such node.";
    }
    if (treeTable_->isInSubtree(*node, newParent)) {
        return under + ": that is the node itself or a node below it.";
    }
    return parent;
}

bool FerrowLanthorDocument::moveNode(std::u16string_view number, std::u16string_view newParent,
                                     std::size_t index) {
    const std::variant<std::shared_ptr<Tree>, std::string> parent = checkMove(number, newParent);
    if (const auto* refusal = std::get_if<std::string>(&parent)) {
        refuse(*refusal);
        return false;
    }
    Tree& oldParent = *std::get<std::shared_ptr<Tree>>(parent);
    const std::shared_ptr<Tree> target = findNode(newParent);
    const std::optional<ChildMove> move =
        treeTable_->moveSubtree(number, oldParent, *target, index);
    if (!move) {
        return false;
    }
    redrawChanges({&oldParent, target.get()});
    select(move->number);
    recordMove("Move Node", *move);
    return true;
}

bool FerrowLanthorDocument::insertTree(std::shared_ptr<const TreeTable> trees) {
    const std::optional<std::u16string> parent = selectedNumber();
    std::optional<NodeInsertion> inserted = treeTable_->insertTrees(*trees, parent);
    if (!inserted) {
        return false;
    }
    if (parent) {
        redrawChanges({findNode(*parent).get()});
    } else {
        redrawCanvas(); // new roots: the whole row of trees moves
    }
    select(inserted->numbers.front());
    auto insertion = std::make_shared<NodeInsertion>(std::move(*inserted));
    record({"Paste",
            [this, insertion] {
                treeTable_->takeBack(*insertion);
                return insertion->parent;
            },
            [this, insertion, trees] {
                *insertion = *treeTable_->insertTrees(*trees, insertion->parent);
                return std::optional(insertion->numbers.front());
            }});
    return true;
}

std::shared_ptr<TreeTable> FerrowLanthorDocument::selectedTrees() const {
    return treeTable_->copyTrees(selectedNumber());
}

} // namespace lanthor
