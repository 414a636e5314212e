// The commands that move trees as wholes, for drag and drop and the clipboard: moving a node to
// a place of choice, pasting trees, and copying the selected one.

#include "FerrowLanthorDocument.h"
#include "base/Utf.h"
#include "model/TreeEdits.h"
#include "model/TreeTable.h"

namespace lanthor {

bool FerrowLanthorDocument::moveNode(std::u16string_view number, std::u16string_view newParent,
                                     std::size_t index) {
    const std::string moving = "Node " + toUtf8(number) + " cannot move";
    const std::shared_ptr<Tree> node = findNode(number);
    if (!node) {
        refuse(moving + ": there is no such node.");
        return false;
    }
    const std::shared_ptr<Tree> parent = treeTable_->findParent(node->nodeNumber());
    if (!parent) {
        refuse(moving + ": it has no parent.");
        return false;
    }
    const std::shared_ptr<Tree> target = findNode(newParent);
    const std::string under = moving + " under node " + toUtf8(newParent);
    if (!target) {
        refuse(under + ": there is no such node.");
        return false;
    }
    if (treeTable_->isInSubtree(*node, newParent)) {
        refuse(under + ": that is the node itself or a node below it.");
        return false;
    }
    const std::optional<ChildMove> move =
        treeTable_->moveSubtree(node->nodeNumber(), *parent, *target, index);
    if (!move) {
        return false;
    }
    redrawCanvas();
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
    redrawCanvas();
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
