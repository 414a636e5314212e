#include "View.h"

namespace lanthor {

View::~View() {
    for (const auto& subview : subviews_) {
        if (subview) {
            subview->superview_ = nullptr;
        }
    }
}

void View::setFrame(Rect frame) {
    setFrameOrigin(frame.origin);
    setFrameSize(frame.size);
}

const std::vector<std::shared_ptr<View>>& View::subviews() const {
    compactSubviews();
    return subviews_;
}

void View::compactSubviews() const {
    if (removedCount_ == 0) {
        return;
    }
    std::size_t kept = 0;
    for (auto& subview : subviews_) {
        if (subview) {
            subview->indexInSuperview_ = kept;
            subviews_[kept++] = std::move(subview);
        }
    }
    subviews_.resize(kept);
    removedCount_ = 0;
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view) {
        return;
    }
    view->removeFromSuperview();
    view->superview_ = this;
    view->indexInSuperview_ = subviews_.size();
    subviews_.push_back(std::move(view));
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) {
        return;
    }
    superview_ = nullptr;
    // Keep this view alive until the slot is cleared: the slot may hold the last reference.
    std::shared_ptr<View> self = std::move(parent->subviews_[indexInSuperview_]);
    ++parent->removedCount_;
    if (parent->removedCount_ > 64 && parent->removedCount_ * 2 > parent->subviews_.size()) {
        parent->compactSubviews();
    }
}

} // namespace lanthor
