#pragma once

#include "QtFontCache.h"
#include "QtHtmlReader.h"
#include "platform/TextSystem.h"

namespace lanthor {

/// The text system of Qt: QTextDocument reads the markup, Qt's font metrics measure. Needs a
/// QGuiApplication.
class QtTextSystem final : public TextSystem {
public:
    QtTextSystem();

    AttributedString readHtml(std::u16string_view html) const override;
    Size measure(const AttributedString& text) const override;
    Size measure(std::u16string_view text, const Font& font) const override;

private:
    QtHtmlReader reader_;
    mutable QtFontCache fonts_;
};

} // namespace lanthor
