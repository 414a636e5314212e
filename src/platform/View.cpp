#include "View.h"

namespace lanthor {

View::~View() {
    if (!subviews_) {
        return;
    }
    for (const auto& subview : subviews_->views) {
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
    static const std::vector<std::shared_ptr<View>> none;
    if (!subviews_) {
        return none;
    }
    compactSubviews();
    return subviews_->views;
}

std::size_t View::subviewCount() const {
    return subviews_ ? subviews_->views.size() - subviews_->removedCount : 0;
}

std::size_t View::indexInSuperview() const {
    if (!superview_) {
        return 0;
    }
    superview_->compactSubviews();
    return indexInSuperview_;
}

void View::compactSubviews() const {
    if (!subviews_ || subviews_->removedCount == 0) {
        return;
    }
    std::vector<std::shared_ptr<View>>& views = subviews_->views;
    std::size_t kept = 0;
    for (auto& subview : views) {
        if (subview) {
            subview->indexInSuperview_ = kept;
            views[kept++] = std::move(subview);
        }
    }
    views.resize(kept);
    subviews_->removedCount = 0;
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view) {
        return;
    }
    view->removeFromSuperview();
    if (!subviews_) {
        subviews_ = std::make_unique<Subviews>();
    }
    if (subviews_->removedCount > 64 && subviews_->removedCount * 2 > subviews_->views.size()) {
        compactSubviews();
    }
    view->superview_ = this;
    view->indexInSuperview_ = subviews_->views.size();
    subviews_->views.push_back(std::move(view));
}

void View::reserveSubviews(std::size_t count) {
    if (!subviews_) {
        subviews_ = std::make_unique<Subviews>();
    }
    subviews_->views.reserve(count);
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) {
        return;
    }
    superview_ = nullptr;
    // Keep this view alive until the slot is cleared: the slot may hold the last reference.
    std::shared_ptr<View> self = std::move(parent->subviews_->views[indexInSuperview_]);
    ++parent->subviews_->removedCount;
}

} // namespace lanthor
