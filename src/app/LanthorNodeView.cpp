#include "LanthorNodeView.h"

#include "model/Tree.h"

namespace lanthor {

LanthorNodeView::LanthorNodeView(Rect frame) : View(frame) {}

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
}

} // namespace lanthor
