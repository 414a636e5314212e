#include "QtFontCache.h"

#include <QPaintDevice>
#include <QStringList>
#include <QTextLayout>
#include <cmath>
#include <mutex>

namespace lanthor {

namespace {

/// A device of 72 dots per inch, only for resolving fonts and measuring text: at that
/// resolution a font's pixel size is its point size, as the canvas's points are its pixels.
class PointDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }
};

PointDevice& pointDevice() {
    static PointDevice device;
    return device;
}

void installFontSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(QStringLiteral("Helvetica"),
                                   {QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Sans L"),
                                    QStringLiteral("TeX Gyre Heros"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Arial")});
    });
}

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QFont qtFont(const Font& font) {
    installFontSubstitutions();
    QFont described(toQString(font.family()));
    described.setStyleHint(QFont::SansSerif);
    described.setPointSizeF(font.pointSize());
    described.setBold(font.isBold());
    described.setItalic(font.isItalic());
    // Unhinted outlines keep the design widths that the layout measures with.
    described.setHintingPreference(QFont::PreferNoHinting);
    return QFont(described, &pointDevice());
}

QtFontFace::QtFontFace(const Font& font) : font_(qtFont(font)) {
    const QRawFont face = QRawFont::fromFont(font_);
    scale_ = face.pixelSize() > 0 ? font.pointSize() / face.pixelSize() : 1;
    ascent_ = face.ascent() * scale_;
    descent_ = face.descent() * scale_;
    unitFace_ = face;
    unitFace_.setPixelSize(face.unitsPerEm());
    pointsPerUnit_ = font.pointSize() / face.unitsPerEm();
    advances_.fill(std::nan(""));
}

double QtFontFace::tabulatedAdvance(char16_t unit) const {
    double& advance = advances_[unit];
    if (std::isnan(advance)) {
        const QChar character(unit);
        quint32 glyph = 0;
        int glyphCount = 1;
        advance = -1;
        if (unitFace_.glyphIndexesForChars(&character, 1, &glyph, &glyphCount) && glyph != 0) {
            QPointF glyphAdvance;
            if (unitFace_.advancesForGlyphIndexes(&glyph, &glyphAdvance, 1,
                                                  QRawFont::UseDesignMetrics)) {
                advance = glyphAdvance.x() * pointsPerUnit_;
            }
        }
    }
    return advance;
}

double QtFontFace::width(std::u16string_view text) const {
    // Simple text adds up the advances of its characters; anything else (other scripts,
    // characters this face lacks and Qt takes from another font) goes through Qt's shaping.
    double sum = 0;
    bool simple = true;
    for (const char16_t unit : text) {
        const double advance = unit < kTabulated ? tabulatedAdvance(unit) : -1;
        if (advance < 0) {
            simple = false;
            break;
        }
        sum += advance;
    }
    if (simple) {
        return sum;
    }
    QTextLayout layout(toQString(text), font_, &pointDevice());
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? line.naturalTextWidth() * scale_ : 0;
}

const QtFontFace& QtFontCache::face(const Font& font) {
    for (const auto& [known, face] : faces_) {
        if (known == font) {
            return *face;
        }
    }
    faces_.emplace_back(font, std::make_unique<QtFontFace>(font));
    return *faces_.back().second;
}

} // namespace lanthor
