#include "FerrowLanthorDocument.h"

#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"

namespace lanthor {

namespace {

/// Takes every node view off the canvas and drops the selection, before the canvas gets another
/// table: the views hold the old table's nodes.
void forgetNodeViews(LanthorDocumentView& canvas) {
    if (const std::shared_ptr<LanthorNodeView> selected = canvas.selectedNode()) {
        selected->unselectNode();
        canvas.setSelectedNode(nullptr);
    }
    const std::vector<std::shared_ptr<View>> views = canvas.subviews();
    for (const std::shared_ptr<View>& view : views) {
        if (auto* nodeView = dynamic_cast<LanthorNodeView*>(view.get())) {
            nodeView->deleteSelf();
        }
    }
}

std::size_t nodeCount(const TreeTable& table) {
    const NodeDictionary* nodes = table.nodeDictionary();
    return nodes ? nodes->size() : 0;
}

} // namespace

FerrowLanthorDocument::FerrowLanthorDocument() : treeTable_(std::make_shared<TreeTable>()) {
    treeTable_->loadTable(u"");
}

FerrowLanthorDocument::~FerrowLanthorDocument() = default;

std::optional<TreeLoadError> FerrowLanthorDocument::readFromURL(const std::string& path) {
    auto table = std::make_shared<TreeTable>();
    if (std::optional<TreeLoadError> failure = table->loadTableFromURL(path)) {
        return failure;
    }
    readFromTable(std::move(table));
    return std::nullopt;
}

void FerrowLanthorDocument::readFromTable(std::shared_ptr<TreeTable> table) {
    treeTable_ = std::move(table);
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        forgetNodeViews(*canvas);
        canvas->setTreeTable(treeTable_);
        canvas->redraw();
    }
    edited_ = false;
}

std::string FerrowLanthorDocument::dataOfType() const {
    return treeFileBytes(treeTable_->saveTable());
}

void FerrowLanthorDocument::windowControllerDidLoadNib() {
    const std::shared_ptr<LanthorDocumentView> canvas = documentView();
    if (canvas) {
        canvas->setTreeTable(treeTable_);
    }
    loadConfiguration();
    if (canvas) {
        canvas->setUpdated(true);
    }
}

void FerrowLanthorDocument::loadConfiguration() {
    mConfiguration_ = std::make_shared<LanthorConfiguration>();
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->setMConfiguration(mConfiguration_);
    }
}

std::shared_ptr<LanthorNodeView> FerrowLanthorDocument::selectedNodeView() const {
    const std::shared_ptr<LanthorDocumentView> canvas = documentView();
    return canvas ? canvas->selectedNode() : nullptr;
}

void FerrowLanthorDocument::redrawCanvas() const {
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->redraw();
    }
}

void FerrowLanthorDocument::noteChange(bool changed) {
    if (!changed) {
        return;
    }
    edited_ = true;
    if (editedHandler_) {
        editedHandler_();
    }
}

void FerrowLanthorDocument::toggleNodeNumber() {
    // A display setting: the picture changes, the document does not.
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->toggleNodeNumber();
    }
    redrawCanvas();
}

void FerrowLanthorDocument::refuse(const std::string& reason) const {
    logLine(reason);
    if (refusalHandler_) {
        refusalHandler_(reason);
    }
}

void FerrowLanthorDocument::changeParent() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const bool changed = view && view->changeParent();
    redrawCanvas();
    noteChange(changed);
}

void FerrowLanthorDocument::swapNode() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const bool changed = view && view->swapNode();
    redrawCanvas();
    noteChange(changed);
}

void FerrowLanthorDocument::deleteTree() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    std::optional<std::u16string> number;
    if (view && view->underlyingNode()) {
        number = view->underlyingNode()->nodeNumber();
    }
    // Deleting changes the tree when the node is there or some node still lists it.
    const NodeDictionary* nodes = treeTable_->nodeDictionary();
    const bool changed =
        number && nodes && (nodes->contains(*number) || treeTable_->findParent(number));
    treeTable_->deleteNode(number);
    // The deleted view must not stay selected: commands would act on a node that is gone.
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView();
        canvas && view && !view->underlyingNode()) {
        view->unselectNode();
        canvas->setSelectedNode(nullptr);
    }
    redrawCanvas();
    noteChange(changed);
}

void FerrowLanthorDocument::addNode() {
    const std::size_t before = nodeCount(*treeTable_);
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->addNode();
    }
    redrawCanvas();
    noteChange(nodeCount(*treeTable_) != before);
}

void FerrowLanthorDocument::editNode() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const bool changed = view && view->editNode();
    redrawCanvas();
    noteChange(changed);
}

void FerrowLanthorDocument::toogleLineWidth() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const bool changed = view && view->toggleLineWidth();
    redrawCanvas();
    noteChange(changed);
}

void FerrowLanthorDocument::mouseDownOnNode(LanthorNodeView& view, const MouseEvent& event) {
    noteChange(view.mouseDown(event));
}

} // namespace lanthor
