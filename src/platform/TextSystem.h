#pragma once

#include "AttributedString.h"
#include "Geometry.h"

#include <string_view>

namespace lanthor {

/// Reading marked-up text and measuring styled text, as the platform does it.
class TextSystem {
public:
    virtual ~TextSystem() = default;

    /// Reads an HTML fragment and returns its visible text with its attributes: tags removed,
    /// character references replaced by the characters they name, white space treated as HTML
    /// treats it, a line break ("<br>", also written "</br>") as '\n', "<sub>" and "<sup>" text
    /// lowered and raised, "<b>" and "<i>" text bold and italic. No visible text gives the
    /// empty string.
    virtual AttributedString readHtml(std::u16string_view html) const = 0;

    /// The size, in points, of `text` drawn without a width limit, one line per '\n': the
    /// widest line's width and the sum of the lines' heights. The empty text measures (0, 0).
    virtual Size measure(const AttributedString& text) const = 0;
};

} // namespace lanthor
