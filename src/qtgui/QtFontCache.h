#pragma once

#include "platform/Font.h"

#include <QFont>
#include <QRawFont>
#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace lanthor {

/// One font as Qt draws it, at one pixel per point.
///
/// Qt loads fonts at whole pixel sizes: a font of 15.5 points is drawn from a face of 16
/// pixels, scaled by `scale`, so that drawn text keeps the measured widths.
class QtFontFace {
public:
    explicit QtFontFace(const Font& font);

    /// The font for QPainter and QTextLayout, resolved at 72 dots per inch.
    const QFont& font() const { return font_; }
    /// The factor from the loaded face's pixels to the font's points.
    double scale() const { return scale_; }
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }
    /// The advance width of `text` on one line, from the font's design metrics.
    double width(std::u16string_view text) const;

private:
    /// The design advance of a code unit below kTabulated, or a negative value when the face
    /// has no glyph for it.
    double tabulatedAdvance(char16_t unit) const;

    static constexpr char16_t kTabulated = 0x300; // Latin, up to the combining marks
    QFont font_;
    /// The face at one pixel per font unit, where advances come out whole: scaled down they are
    /// the design widths, unrounded.
    QRawFont unitFace_;
    double pointsPerUnit_;
    double scale_;
    double ascent_;
    double descent_;
    mutable std::array<double, kTabulated> advances_;
};

/// The faces of the fonts in use, made once each. A document uses a handful: the configured
/// font and its bold and italic variants.
class QtFontCache {
public:
    const QtFontFace& face(const Font& font);

private:
    std::vector<std::pair<Font, std::unique_ptr<QtFontFace>>> faces_;
};

/// A QFont for `font` at one pixel per point. Families that are not installed fall back to a
/// look-alike: Helvetica to its metric clones (Nimbus Sans, Liberation Sans, Arial and the
/// like), any other family to the default sans-serif font.
QFont qtFont(const Font& font);

} // namespace lanthor
