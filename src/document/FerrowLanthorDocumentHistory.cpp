// The document's undo history: recording the changes, undo and redo, and the selection and
// edited state that follow them.

#include "FerrowLanthorDocument.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/TreeEdits.h"
#include "model/TreeTable.h"

namespace lanthor {

void FerrowLanthorDocument::setEdited(bool edited) {
    unsavedContent_ = edited;
    if (!edited) {
        history_.markClean();
    }
}

void FerrowLanthorDocument::record(UndoHistory::Step step) {
    history_.add(std::move(step));
    if (editedHandler_) {
        editedHandler_();
    }
}

void FerrowLanthorDocument::recordMove(std::string name, const ChildMove& move) {
    record({std::move(name),
            [this, move] {
                treeTable_->moveBack(move);
                return std::optional(move.number);
            },
            [this, move] {
                treeTable_->moveAgain(move);
                return std::optional(move.number);
            }});
}

void FerrowLanthorDocument::recordTextChange(const Tree& node, std::u16string before) {
    const auto setText = [this, number = node.nodeNumber()](const std::u16string& text) {
        findNode(number)->setNodeValue(text);
        return std::optional(number);
    };
    record({"Edit Node", [setText, before = std::move(before)] { return setText(before); },
            [setText, after = node.nodeValue()] { return setText(after); }});
}

void FerrowLanthorDocument::undo() {
    if (history_.canUndo()) {
        finishStep(history_.undo());
    }
}

void FerrowLanthorDocument::redo() {
    if (history_.canRedo()) {
        finishStep(history_.redo());
    }
}

void FerrowLanthorDocument::finishStep(const std::optional<std::u16string>& selection) {
    redrawCanvas();
    select(selection);
    if (editedHandler_) {
        editedHandler_();
    }
}

void FerrowLanthorDocument::select(const std::optional<std::u16string>& number) {
    const std::shared_ptr<LanthorDocumentView> canvas = documentView();
    if (!canvas) {
        return;
    }
    if (const std::shared_ptr<LanthorNodeView> previous = canvas->selectedNode()) {
        previous->unselectNode();
        canvas->setSelectedNode(nullptr);
    }
    const std::shared_ptr<Tree> node = number ? findNode(*number) : nullptr;
    if (!node) {
        return;
    }
    if (!node->uiObject()) {
        // A node put back gets its view from the layout, which would otherwise wait for the
        // next paint.
        canvas->layOutIfNeeded();
    }
    if (const std::shared_ptr<LanthorNodeView> view = nodeViewOf(*node);
        view && view->canvas() == canvas.get()) {
        view->selectNode();
        canvas->setSelectedNode(view);
    }
}

} // namespace lanthor
