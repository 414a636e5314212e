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
    removeFromSuperview();
    underlyingNode_.reset();
}

} // namespace lanthor
