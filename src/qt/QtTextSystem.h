#pragma once

#include "QtFontCache.h"
#include "platform/TextSystem.h"

namespace lanthor {

/// The text system of Qt: QTextDocument reads the markup, Qt's font metrics measure. Needs a
/// QGuiApplication.
class QtTextSystem final : public TextSystem {
public:
    QtTextSystem();

    AttributedString readHtml(std::u16string_view html) const override;
    Size measure(const AttributedString& text) const override;

private:
    /// The font the reader gives text before any font is set on it.
    Font readerFont_;
    mutable QtFontCache fonts_;
};

} // namespace lanthor
