#include "LanthorNodeView.h"

#include "LanthorDocumentView.h"
#include "platform/Painter.h"

#include <typeinfo>

namespace lanthor {

LanthorNodeView::LanthorNodeView(Rect frame) : View(frame) {}

void LanthorNodeView::setUnderlyingNode(std::shared_ptr<Tree> node) {
    underlyingNode_ = std::move(node);
    labelGeneration_ = 0;
}

AttributedString LanthorNodeView::textStorage() const {
    const LanthorDocumentView* canvas = this->canvas();
    return canvas ? canvas->labelText(*this) : AttributedString();
}

Rect LanthorNodeView::textRect() const {
    const Rect frame = this->frame();
    return {{frame.origin.x + kLineFragmentPadding, frame.origin.y}, textSize()};
}

void LanthorNodeView::setFrameSize(Size size) {
    View::setFrameSize({size.width, frame().size.height});
}

void LanthorNodeView::drawRect(Painter& painter) const {
    if (const LanthorDocumentView* canvas = this->canvas()) {
        canvas->drawNodeView(*this, painter);
    } else if (drawsBackground_) {
        painter.fillRect(frame(), Color::gray());
    }
}

void LanthorNodeView::selectNode() {
    nodeSelected_ = true;
    updateNodeSelection();
}

void LanthorNodeView::unselectNode() {
    nodeSelected_ = false;
    updateNodeSelection();
}

void LanthorNodeView::updateNodeSelection() {
    setDrawsBackground(nodeSelected_);
}

void LanthorNodeView::deleteSelf() {
    // The superview may hold the last reference; the view must outlive this call.
    const std::shared_ptr<View> keepAlive = weak_from_this().lock();
    if (LanthorDocumentView* canvas = this->canvas()) {
        canvas->nodeViewLeaving(*this);
    }
    removeFromSuperview();
    underlyingNode_.reset();
}

LanthorDocumentView* LanthorNodeView::canvas() const {
    View* view = superview();
    if (view && typeid(*view) == typeid(LanthorDocumentView)) {
        return static_cast<LanthorDocumentView*>(view);
    }
    return nullptr;
}

} // namespace lanthor
