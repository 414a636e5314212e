#pragma once

#include "platform/Font.h"

#include <cstdint>

namespace lanthor {

/// The display settings of one document window: node numbers shown or not, where leaves go, the
/// font of the node texts and the distance between tree levels. Shared by the document and its
/// canvas; never saved, so every window starts from the defaults.
class LanthorConfiguration {
public:
    /// Node numbers hidden, Helvetica at 15 points, levels 60 points apart.
    LanthorConfiguration();

    bool showNodeNumber() const { return showNodeNumber_; }
    void setShowNodeNumber(bool show) { showNodeNumber_ = show; }
    const Font& font() const { return font_; }
    void setFont(Font font) { font_ = std::move(font); }
    /// The vertical distance between successive levels, in points; any value is kept.
    std::int64_t height() const { return height_; }
    void setHeight(std::int64_t height) { height_ = height; }

    /// Every leaf on the bottom row of the drawing, its edge drawn down to it there.
    bool alignLeaves() const { return alignLeaves_; }
    void setAlignLeaves(bool align) { alignLeaves_ = align; }
    /// A leaf that is its parent's only child right under the parent, without an edge (on its
    /// parent's row even when the other leaves are aligned), unless the parent has a roof.
    bool tuckLeaves() const { return tuckLeaves_; }
    void setTuckLeaves(bool tuck) { tuckLeaves_ = tuck; }
    /// Flips whether node numbers are shown and logs "SHOWING NODE #" or "HIDING NODE #".
    void toggleNodeNumber();

private:
    bool showNodeNumber_ = false;
    bool alignLeaves_ = false;
    bool tuckLeaves_ = false;
    Font font_;
    std::int64_t height_ = 60;
};

} // namespace lanthor
