#include "LanthorDocumentView.h"

#include "LanthorConfiguration.h"
#include "LanthorNodeView.h"
#include "base/Log.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"

namespace lanthor {

LanthorDocumentView::LanthorDocumentView(Rect frame, const TextSystem& textSystem)
    : View(frame), textSystem_(textSystem), defaults_(std::make_unique<LanthorConfiguration>()) {}

LanthorDocumentView::~LanthorDocumentView() = default;

const LanthorConfiguration& LanthorDocumentView::configuration() const {
    return mConfiguration_ ? *mConfiguration_ : *defaults_;
}

void LanthorDocumentView::drawRect(Painter& painter) {
    painter.fillRect(bounds(), Color::white());
    if (!updated_) {
        return;
    }
    if (!mTreeTable()) {
        log(u"draw_error", u"nil tree");
        return;
    }
    // Edges are computed from the frames that this layout has just set.
    layOut();
    drawAllEdges(painter);
    updated_ = false;
}

void LanthorDocumentView::setUpdated(bool updated) {
    updated_ = updated;
    if (updated) {
        wholeTreeNeeded_ = true;
    }
}

void LanthorDocumentView::setMTreeTable(const std::shared_ptr<TreeTable>& table) {
    mTreeTable_ = table;
    wholeTreeNeeded_ = true;
}

void LanthorDocumentView::display(Painter& painter, Rect dirtyRect) {
    drawRect(painter);
    for (const std::shared_ptr<View>& subview : subviews()) {
        const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get());
        if (nodeView && unionRect(nodeView->frame(), nodeView->textRect()).intersects(dirtyRect)) {
            nodeView->drawRect(painter);
        }
    }
}

void LanthorDocumentView::display(Painter& painter) {
    drawRect(painter);
    for (const std::shared_ptr<View>& subview : subviews()) {
        if (const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get())) {
            nodeView->drawRect(painter);
        }
    }
}

void LanthorDocumentView::setFrameSize(Size size) {
    wholeTreeNeeded_ = true; // nobody said what changed
    resize(size);
}

void LanthorDocumentView::resize(Size size) {
    const bool changed = size != frame().size;
    View::setFrameSize(size);
    updated_ = true;
    if (changed && displayRequest_) {
        displayRequest_();
    }
}

void LanthorDocumentView::mouseDown(const MouseEvent&) {
    if (selectedNode_) {
        selectedNode_->unselectNode();
    }
    selectedNode_.reset();
}

void LanthorDocumentView::log(std::u16string_view tag, std::u16string_view message) const {
    std::u16string line;
    line.reserve(tag.size() + message.size() + 3);
    line += u'[';
    line += tag;
    line += u"] ";
    line += message;
    logLine(line);
}

void LanthorDocumentView::redraw() {
    wholeTreeNeeded_ = true;
    redrawChanges();
}

void LanthorDocumentView::noteChanged(const Tree& node) {
    if (std::shared_ptr<LanthorNodeView> view = nodeViewOf(node)) {
        changes_.push_back(std::move(view));
    }
}

void LanthorDocumentView::redrawChanges() {
    updated_ = true;
    const Size size = frame().size;
    resize({size.width + 0.1, size.height});
}

void LanthorDocumentView::redrawChanged(const Tree& node) {
    noteChanged(node);
    redrawChanges();
}

void LanthorDocumentView::toggleNodeNumber() {
    if (mConfiguration_) {
        mConfiguration_->setShowNodeNumber(!mConfiguration_->showNodeNumber());
    }
    setUpdated(true);
}

void LanthorDocumentView::addNode() {
    if (selectedNode_) {
        selectedNode_->addNode();
        return;
    }
    if (const std::shared_ptr<TreeTable> table = mTreeTable()) {
        table->addNode(u"", u"New Tree!");
    }
    redraw();
}

} // namespace lanthor
