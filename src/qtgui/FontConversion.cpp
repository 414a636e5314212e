#include "FontConversion.h"

namespace lanthor {

QFont toQFont(const Font& font) {
    QFont converted(QString::fromStdU16String(font.family()));
    if (font.pointSize() > 0) {
        converted.setPointSizeF(font.pointSize());
    }
    converted.setBold(font.isBold());
    converted.setItalic(font.isItalic());
    return converted;
}

Font fromQFont(const QFont& font) {
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize();
    FontTraits traits = 0;
    if (font.bold()) {
        traits |= FontTraitBold;
    }
    if (font.italic()) {
        traits |= FontTraitItalic;
    }
    return Font(font.family().toStdU16String(), size, traits);
}

} // namespace lanthor
