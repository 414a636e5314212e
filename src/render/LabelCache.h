#pragma once

#include "platform/Font.h"

#include <cstdint>

namespace lanthor {

class Tree;

/// What a node view's text was last made from, with the label's measured width. While the node,
/// its number and text, the node-number setting and the font stay the same, a layout pass can
/// keep the view's text and reuse the width instead of reading and measuring the label again:
/// the result would be the same.
struct LabelCache {
    const Tree* node = nullptr;
    std::uint64_t revision = 0;
    bool showNodeNumber = false;
    Font font;
    double width = 0;
    bool labelIsEmpty = false;

    bool matches(const Tree* otherNode, std::uint64_t otherRevision, bool otherShowNodeNumber,
                 const Font& otherFont) const {
        return node == otherNode && revision == otherRevision &&
               showNodeNumber == otherShowNodeNumber && font == otherFont;
    }
};

} // namespace lanthor
