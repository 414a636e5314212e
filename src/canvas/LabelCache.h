#pragma once

#include <cstdint>

namespace lanthor {

/// What a node view's text was last made from, with the label's measured width. While the view's
/// node, its number and text, and the label settings (node numbers shown, font) stay the same, a
/// layout pass can keep the view's text and reuse the width instead of reading and measuring
/// the label again: the result would be the same.
struct LabelCache {
    std::uint64_t revision = 0;           ///< the node's revision
    std::uint64_t settingsGeneration = 0; ///< the canvas's label settings (see LabelSettings)
    double width = 0;
    bool valid = false; ///< false until the view's text has been made once
};

} // namespace lanthor
