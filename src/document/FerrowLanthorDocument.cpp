#include "FerrowLanthorDocument.h"

#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeEdits.h"
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

/// Stands between a node view and the alert in place while the view asks, to learn the answer,
/// which the view keeps to itself.
class AnswerRecorder final : public InputAlert {
public:
    AnswerRecorder() : asking_(inputAlert()), previous_(setInputAlert(this)) {}
    ~AnswerRecorder() override { setInputAlert(previous_); }
    AnswerRecorder(const AnswerRecorder&) = delete;
    AnswerRecorder& operator=(const AnswerRecorder&) = delete;

    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view fieldText) override {
        answer_ = asking_.run(prompt, fieldText);
        return answer_;
    }
    /// The last answer given; none when the user cancelled or nothing was asked.
    const std::optional<std::u16string>& answer() const { return answer_; }

private:
    InputAlert& asking_;
    InputAlert* previous_;
    std::optional<std::u16string> answer_;
};

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
    history_.clear();
    unsavedContent_ = false;
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

std::optional<std::u16string> FerrowLanthorDocument::selectedNumber() const {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    if (!view || !view->underlyingNode()) {
        return std::nullopt;
    }
    return view->underlyingNode()->nodeNumber();
}

std::shared_ptr<Tree> FerrowLanthorDocument::findNode(std::u16string_view number) const {
    const NodeDictionary* nodes = treeTable_->nodeDictionary();
    return nodes ? nodes->find(number) : nullptr;
}

void FerrowLanthorDocument::redrawCanvas() const {
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->redraw();
    }
}

void FerrowLanthorDocument::redrawChanges(std::initializer_list<const Tree*> changed) const {
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        for (const Tree* node : changed) {
            if (node) {
                canvas->noteChanged(*node);
            }
        }
        canvas->redrawChanges();
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

FerrowLanthorDocument::Selection FerrowLanthorDocument::selection() const {
    const std::optional<std::u16string> number = selectedNumber();
    if (!number) {
        return Selection::None;
    }
    // The layout knows a placed child's parent without the search through the whole table.
    const std::shared_ptr<LanthorDocumentView> canvas = documentView();
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    if (canvas && view && canvas->placedUnderAParent(*view)) {
        return Selection::NodeWithParent;
    }
    return treeTable_->findParent(number) ? Selection::NodeWithParent
                                          : Selection::NodeWithoutParent;
}

std::size_t FerrowLanthorDocument::nodeCount() const {
    const NodeDictionary* nodes = treeTable_->nodeDictionary();
    return nodes ? nodes->size() : 0;
}

void FerrowLanthorDocument::changeParent() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const std::optional<std::u16string> number = selectedNumber();
    std::optional<ChildMove> move;
    std::optional<std::u16string> answer;
    if (view) {
        AnswerRecorder recorder;
        move = view->changeParent();
        answer = recorder.answer();
    }
    redrawChanges();
    if (move) {
        recordMove("Change Parent", *move);
        return;
    }
    // The view has logged its one message for every failure; the user learns which it was.
    if (!number || !answer || !refusalHandler_) {
        return;
    }
    if (const auto check = checkMove(*number, *answer);
        std::holds_alternative<std::string>(check)) {
        refusalHandler_(std::get<std::string>(check));
    }
}

void FerrowLanthorDocument::swapNode() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const std::optional<ChildMove> move = view ? view->swapNode() : std::nullopt;
    redrawChanges();
    if (move) {
        recordMove("Swap", *move);
    }
}

void FerrowLanthorDocument::deleteTree() {
    deleteSelected("Delete Tree");
}

void FerrowLanthorDocument::cutTree() {
    deleteSelected("Cut");
}

void FerrowLanthorDocument::deleteSelected(std::string stepName) {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const std::optional<std::u16string> number = selectedNumber();
    auto removal = std::make_shared<SubtreeRemoval>(treeTable_->deleteNode(number));
    // The deleted view must not stay selected: commands would act on a node that is gone.
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView();
        canvas && view && !view->underlyingNode()) {
        view->unselectNode();
        canvas->setSelectedNode(nullptr);
    }
    redrawChanges();
    if (removal->empty()) {
        return;
    }
    record({std::move(stepName),
            [this, removal, number] {
                treeTable_->restore(std::move(*removal));
                return number;
            },
            [this, removal, number]() -> std::optional<std::u16string> {
                *removal = treeTable_->deleteNode(number);
                return std::nullopt;
            }});
}

void FerrowLanthorDocument::addNode() {
    const std::size_t before = nodeCount();
    const std::optional<std::u16string> selected = selectedNumber();
    if (const std::shared_ptr<LanthorDocumentView> canvas = documentView()) {
        canvas->addNode();
    }
    redrawChanges();
    if (nodeCount() == before) {
        return;
    }
    // The table adds a node at the end of the iteration order: under the selected node, or as
    // the root of an empty table.
    const NodeDictionary& nodes = *treeTable_->nodeDictionary();
    const Tree& added = *nodes.nodeAt(nodes.positionCount() - 1);
    const std::optional<std::u16string> parent = added.realRoot() ? std::nullopt : selected;
    const NodeInsertion insertion{parent, parent ? 1U : 0U, {added.nodeNumber()}};
    record({"Add Node",
            [this, insertion] {
                treeTable_->takeBack(insertion);
                return insertion.parent;
            },
            [this, insertion, text = added.nodeValue()] {
                treeTable_->addNode(insertion.parent.value_or(u""), text);
                return insertion.parent;
            }});
}

void FerrowLanthorDocument::editNode() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const std::shared_ptr<Tree> node = view ? view->underlyingNode() : nullptr;
    std::u16string before = node ? node->nodeValue() : std::u16string();
    const bool changed = view && view->editNode();
    redrawChanges();
    if (changed) {
        recordTextChange(*node, std::move(before));
    }
}

void FerrowLanthorDocument::toogleLineWidth() {
    const std::shared_ptr<LanthorNodeView> view = selectedNodeView();
    const bool changed = view && view->toggleLineWidth();
    redrawChanges();
    if (!changed) {
        return;
    }
    const auto toggle = [this, number = view->underlyingNode()->nodeNumber()] {
        const std::shared_ptr<Tree> node = findNode(number);
        node->setHead(!node->head());
        return std::optional(number);
    };
    record({"Bold Edge", toggle, toggle});
}

void FerrowLanthorDocument::mouseDownOnNode(LanthorNodeView& view, const MouseEvent& event) {
    const std::shared_ptr<Tree> node = view.underlyingNode();
    std::u16string before = node ? node->nodeValue() : std::u16string();
    if (view.mouseDown(event)) {
        recordTextChange(*node, std::move(before));
    }
}

} // namespace lanthor
