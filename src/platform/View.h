#pragma once

#include "Geometry.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace lanthor {

/// A rectangle in a tree of views: it owns its subviews and knows its superview without owning
/// it. Views are light objects, so a canvas can hold one per node of a large tree; removing one
/// costs constant time and the order in which subviews were added is kept.
class View : public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {}) : frame_(frame) {}
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    /// The view's rectangle in its superview's coordinates.
    Rect frame() const { return frame_; }
    /// The view's own rectangle: its frame's size at the origin.
    Rect bounds() const { return {{0, 0}, frame_.size}; }
    /// Moves and resizes the view, through setFrameOrigin and setFrameSize.
    void setFrame(Rect frame);
    /// Moves the view without changing its size.
    void setFrameOrigin(Point origin) { frame_.origin = origin; }
    /// Resizes the view; subclasses may react to the change or adjust the size.
    virtual void setFrameSize(Size size) { frame_.size = size; }
    /// Origin top-left with y growing downwards when true.
    virtual bool isFlipped() const { return false; }

    View* superview() const { return superview_; }
    /// The subviews in the order they were added. A view removed while the caller goes through
    /// the list leaves a null entry in it, until the next call.
    const std::vector<std::shared_ptr<View>>& subviews() const;
    std::size_t subviewCount() const;
    /// Where the view stands among its superview's subviews (0 first): a view added later
    /// stands later, and so is drawn over the views before it. 0 without a superview.
    std::size_t indexInSuperview() const;
    /// Adds `view` last, taking it from its previous superview if it had one.
    void addSubview(std::shared_ptr<View> view);
    /// Makes room for `count` subviews in all, so that adding up to there allocates once.
    void reserveSubviews(std::size_t count);
    /// Leaves the superview, which lets go of this view; nothing happens without one.
    void removeFromSuperview();

private:
    void compactSubviews() const;

    // Removed subviews leave a gap that is closed the next time the list is read (or when gaps
    // fill half of it), so that removing many views one by one stays linear.
    struct Subviews {
        std::vector<std::shared_ptr<View>> views;
        std::size_t removedCount = 0;
    };

    Rect frame_;
    View* superview_ = nullptr;
    std::size_t indexInSuperview_ = 0;
    // Made with the first subview: most views (a canvas's node views) never have one, and a
    // canvas holds a million of them.
    mutable std::unique_ptr<Subviews> subviews_;
};

} // namespace lanthor
