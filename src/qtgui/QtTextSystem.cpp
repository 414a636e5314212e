#include "QtTextSystem.h"

#include "QtTextLines.h"

namespace lanthor {

// Text read from HTML is in this font until a font is set on it.
QtTextSystem::QtTextSystem() : reader_(Font(u"Times", 12)) {}

AttributedString QtTextSystem::readHtml(std::u16string_view html) const {
    return reader_.read(html);
}

Size QtTextSystem::measure(const AttributedString& text) const {
    return measureLines(text, fonts_);
}

Size QtTextSystem::measure(std::u16string_view text, const Font& font) const {
    return measurePlainLines(text, fonts_.face(font));
}

} // namespace lanthor
