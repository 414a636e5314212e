// The commands that a node view carries for its own node: clicks, the text question, edit, add,
// redraw and line width.

#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"

namespace lanthor {

bool LanthorNodeView::mouseDown(const MouseEvent& event) {
    LanthorDocumentView* const canvas = this->canvas();
    bool edited = false;
    if (nodeSelected_) {
        // The first press of a double click on an unselected view selected it; the second
        // press edits, and leaves the view unselected.
        if (event.clickCount == 2) {
            edited = editNode();
        }
        unselectNode();
        if (canvas) {
            canvas->setSelectedNode(nullptr);
        }
    } else {
        selectNode();
        if (canvas) {
            const std::shared_ptr<LanthorNodeView> previous = canvas->selectedNode();
            if (previous && previous.get() != this) {
                previous->unselectNode();
            }
            canvas->setSelectedNode(std::static_pointer_cast<LanthorNodeView>(shared_from_this()));
        }
    }
    return edited;
}

std::u16string LanthorNodeView::input(std::u16string_view prompt,
                                      std::u16string_view defaultText) const {
    std::optional<std::u16string> answer = inputAlert().run(prompt, defaultText);
    return answer ? std::move(*answer) : std::u16string(defaultText);
}

bool LanthorNodeView::editNode() {
    // A deleted view still asks, with an empty field, but has no node to change.
    const std::shared_ptr<Tree> node = underlyingNode_;
    const std::u16string answer = input(u"Update Node", node ? node->nodeValue() : u"");
    bool changed = false;
    if (node && answer != node->nodeValue()) {
        node->setNodeValue(answer);
        changed = true;
        if (LanthorDocumentView* const canvas = this->canvas()) {
            canvas->noteChanged(*node);
        }
    }
    parentRedraw();
    return changed;
}

void LanthorNodeView::addNode() {
    LanthorDocumentView* const canvas = this->canvas();
    if (!canvas) {
        return;
    }
    if (!underlyingNode_) {
        // With no node the table adds a root, if any: the roots are laid out anew.
        if (const std::shared_ptr<TreeTable> table = canvas->mTreeTable()) {
            table->addNode(std::nullopt, u"New Node!");
        }
        canvas->redraw();
        return;
    }
    if (const std::shared_ptr<TreeTable> table = canvas->mTreeTable()) {
        table->addNode(underlyingNode_->nodeNumber(), u"New Node!");
    }
    canvas->redrawChanged(*underlyingNode_);
}

void LanthorNodeView::parentRedraw() {
    if (LanthorDocumentView* const canvas = this->canvas()) {
        canvas->redrawChanges();
    }
}

bool LanthorNodeView::toggleLineWidth() {
    if (!underlyingNode_) {
        return false;
    }
    underlyingNode_->setHead(!underlyingNode_->head());
    return true;
}

} // namespace lanthor
