#pragma once

#include <atomic>
#include <cstdint>

namespace lanthor {

/// What the layout and edge passes note on a node view while they run. Passes are numbered
/// across all canvases, so a mark left by an earlier pass (or on another canvas) never reads as
/// one of this pass. 32 bits keep a view small; they last for billions of passes.
struct LayoutMarks {
    /// The layout pass that last reached the view: 2n while pass n has measured it, 2n + 1 once
    /// pass n has placed it.
    std::uint32_t layoutStamp = 0;
    /// The edge pass that last went below the view.
    std::uint32_t edgePass = 0;
    std::int32_t subtreeWidth = 0;  ///< the width of its slot in the last layout pass
    std::int32_t childrenWidth = 0; ///< the sum of its children's slots in that pass

    /// A new pass number, for a layout or an edge pass.
    static std::uint32_t newPass() {
        static std::atomic<std::uint32_t> last{0};
        return ++last;
    }
};

} // namespace lanthor
