#include "QtTextLines.h"

#include "QtFontCache.h"

#include <algorithm>
#include <string_view>

namespace lanthor {

namespace {

/// Raised text stands a third of the font size above the baseline, lowered text a fifth below,
/// once per level.
double raiseFor(const TextAttributes& attributes) {
    const double size = attributes.font.pointSize();
    const int level = attributes.superscript;
    return level > 0 ? level * size / 3 : level * size / 5;
}

/// Walks `text` line by line: `segment(start, length, face, raise)` for each piece of one run on
/// one line (a line break is a piece of its own, of length 1, to count in the line's height),
/// and `endLine()` after each line.
template <typename Segment, typename EndLine>
void walkLines(const AttributedString& text, QtFontCache& fonts, Segment&& segment,
               EndLine&& endLine) {
    const std::u16string_view string = text.string();
    std::size_t position = 0;
    // Found once per line, not once per run: a line of many runs must not be scanned again for
    // each of them.
    std::size_t lineBreak = string.find(u'\n');
    const TextAttributes* lastAttributes = nullptr;
    for (const TextRun& run : text.runs()) {
        const QtFontFace& face = fonts.face(run.attributes.font);
        const double raise = raiseFor(run.attributes);
        const std::size_t runEnd = position + run.length;
        while (position < runEnd) {
            if (lineBreak < position) {
                lineBreak = string.find(u'\n', position);
            }
            const std::size_t pieceEnd = std::min(lineBreak, runEnd);
            if (pieceEnd > position) {
                segment(position, pieceEnd - position, face, raise);
            }
            position = pieceEnd;
            if (position < runEnd) { // at a line break
                segment(position, 1, face, raise);
                endLine();
                ++position;
            }
        }
        lastAttributes = &run.attributes;
    }
    if (!lastAttributes) {
        return;
    }
    if (!string.empty() && string.back() == u'\n') {
        // The empty line after a final break is as tall as the break.
        segment(string.size() - 1, 1, fonts.face(lastAttributes->font), raiseFor(*lastAttributes));
    }
    endLine();
}

struct LineExtent {
    double ascent = 0;
    double descent = 0;
    double width = 0;

    void add(const QtFontFace& face, double raise, double width_) {
        ascent = std::max(ascent, face.ascent() + raise);
        descent = std::max(descent, face.descent() - raise);
        width += width_;
    }
};

bool isLineBreak(std::u16string_view string, std::size_t start, std::size_t length) {
    return length == 1 && string[start] == u'\n';
}

} // namespace

std::vector<QtTextLine> layOutLines(const AttributedString& text, QtFontCache& fonts) {
    const std::u16string_view string = text.string();
    std::vector<QtTextLine> lines;
    LineExtent extent;
    QtTextLine current;
    double top = 0;
    walkLines(
        text, fonts,
        [&](std::size_t start, std::size_t length, const QtFontFace& face, double raise) {
            const bool lineBreak = isLineBreak(string, start, length);
            const double width = lineBreak ? 0 : face.width(string.substr(start, length));
            if (!lineBreak) {
                current.segments.push_back({start, length, extent.width, raise, &face});
            }
            extent.add(face, raise, width);
        },
        [&] {
            current.top = top;
            current.ascent = extent.ascent;
            current.descent = extent.descent;
            current.width = extent.width;
            top += extent.ascent + extent.descent;
            lines.push_back(std::move(current));
            current = QtTextLine{};
            extent = LineExtent{};
        });
    return lines;
}

Size measureLines(const AttributedString& text, QtFontCache& fonts) {
    const std::u16string_view string = text.string();
    LineExtent extent;
    Size size;
    walkLines(
        text, fonts,
        [&](std::size_t start, std::size_t length, const QtFontFace& face, double raise) {
            const bool lineBreak = isLineBreak(string, start, length);
            extent.add(face, raise, lineBreak ? 0 : face.width(string.substr(start, length)));
        },
        [&] {
            size.width = std::max(size.width, extent.width);
            size.height += extent.ascent + extent.descent;
            extent = LineExtent{};
        });
    return size;
}

Size measurePlainLines(std::u16string_view text, const QtFontFace& face) {
    if (text.empty()) {
        return {};
    }
    // One line per break, and one more after the last (empty when the text ends in a break).
    Size size;
    for (;;) {
        const std::size_t lineBreak = text.find(u'\n');
        size.width = std::max(size.width, face.width(text.substr(0, lineBreak)));
        size.height += face.ascent() + face.descent();
        if (lineBreak == std::u16string_view::npos) {
            return size;
        }
        text.remove_prefix(lineBreak + 1);
    }
}

} // namespace lanthor
