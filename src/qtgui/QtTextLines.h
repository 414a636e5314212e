#pragma once

#include "platform/AttributedString.h"
#include "platform/Geometry.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace lanthor {

class QtFontCache;
class QtFontFace;

/// A piece of one line drawn with one face.
struct QtTextSegment {
    std::size_t start = 0; ///< in the text's code units
    std::size_t length = 0;
    double x = 0;     ///< from the line's left edge
    double raise = 0; ///< how far its baseline stands above the line's
    const QtFontFace* face = nullptr;
};

struct QtTextLine {
    double top = 0;    ///< from the text's top edge
    double ascent = 0; ///< from the line's top to its baseline
    double descent = 0;
    double width = 0;
    std::vector<QtTextSegment> segments;
};

/// The lines of `text`, one per '\n', each as tall as the tallest face on it with raised and
/// lowered text included. A line break belongs to the line it ends; an empty last line takes
/// the height of the break before it.
std::vector<QtTextLine> layOutLines(const AttributedString& text, QtFontCache& fonts);

/// The size of `text`: the widest line's width and the sum of the lines' heights. It matches
/// what layOutLines gives, without keeping the lines.
Size measureLines(const AttributedString& text, QtFontCache& fonts);

/// The same for plain text all in one face.
Size measurePlainLines(std::u16string_view text, const QtFontFace& face);

} // namespace lanthor
