#include "LanthorNodeView.h"

#include "LanthorDocumentView.h"
#include "platform/Painter.h"
#include "platform/TextSystem.h"

#include <typeinfo>

namespace lanthor {

LanthorNodeView::LanthorNodeView(Rect frame, const TextSystem* textSystem)
    : View(frame), textSystem_(textSystem) {}

void LanthorNodeView::setTextStorage(AttributedString text) {
    textStorage_ = std::move(text);
    textSize_ =
        textSystem_ && textStorage_.length() > 0 ? textSystem_->measure(textStorage_) : Size{};
    setFrameSize(frame().size);
}

void LanthorNodeView::setEmptyText(double lineHeight) {
    textStorage_ = {};
    textSize_ = {0, lineHeight};
    setFrameSize(frame().size);
}

Rect LanthorNodeView::textRect() const {
    const Rect frame = this->frame();
    return {{frame.origin.x + kLineFragmentPadding, frame.origin.y}, textSize_};
}

void LanthorNodeView::setFrameSize(Size size) {
    View::setFrameSize({size.width, textSize_.height});
}

void LanthorNodeView::drawRect(Painter& painter) const {
    if (drawsBackground_) {
        painter.fillRect(frame(), backgroundColor_);
    }
    if (textStorage_.length() > 0) {
        painter.drawText(textStorage_, textRect());
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
    removeFromSuperview();
    underlyingNode_.reset();
    childLookup_ = {};
}

LanthorDocumentView* LanthorNodeView::canvas() const {
    View* view = superview();
    if (view && typeid(*view) == typeid(LanthorDocumentView)) {
        return static_cast<LanthorDocumentView*>(view);
    }
    return nullptr;
}

} // namespace lanthor
