#include "LanthorNodeView.h"

#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"
#include "platform/TextSystem.h"
#include "render/LanthorDocumentView.h"

#include <typeinfo>

namespace lanthor {

namespace {

/// The view's canvas: its superview when that is exactly a canvas, not a subclass of one.
LanthorDocumentView* canvasOf(const View& view) {
    View* superview = view.superview();
    if (superview && typeid(*superview) == typeid(LanthorDocumentView)) {
        return static_cast<LanthorDocumentView*>(superview);
    }
    return nullptr;
}

} // namespace

LanthorNodeView::LanthorNodeView(Rect frame, const TextSystem* textSystem)
    : View(frame), textSystem_(textSystem) {}

void LanthorNodeView::setTextStorage(AttributedString text) {
    textStorage_ = std::move(text);
    textSize_ =
        textSystem_ && textStorage_.length() > 0 ? textSystem_->measure(textStorage_) : Size{};
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
    removeFromSuperview();
    underlyingNode_.reset();
}

void LanthorNodeView::addNode() {
    LanthorDocumentView* canvas = canvasOf(*this);
    if (!canvas) {
        return;
    }
    if (const std::shared_ptr<TreeTable> table = canvas->mTreeTable()) {
        std::optional<std::u16string> number;
        if (underlyingNode_) {
            number = underlyingNode_->nodeNumber();
        }
        table->addNode(number, u"New Node!");
    }
    canvas->redraw();
}

} // namespace lanthor
