#include "QtTextSystem.h"

#include "QtHtmlReader.h"
#include "QtTextLines.h"

namespace lanthor {

QtTextSystem::QtTextSystem() : readerFont_(u"Times", 12) {}

AttributedString QtTextSystem::readHtml(std::u16string_view html) const {
    return readHtmlFragment(html, readerFont_);
}

Size QtTextSystem::measure(const AttributedString& text) const {
    return measureLines(text, fonts_);
}

} // namespace lanthor
