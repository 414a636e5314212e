#pragma once

#include "platform/AttributedString.h"

#include <string_view>

namespace lanthor {

/// Reads an HTML fragment with QTextDocument and returns its visible text: tags removed,
/// character references replaced, white space collapsed as HTML does (and dropped at the start
/// and end of each line), "<br>" and "</br>" as '\n', bold, italic, raised and lowered text
/// marked. Every run gets `font` with the traits of its text.
///
/// Text that holds no markup, no character reference and no white space but single spaces
/// reads the same without QTextDocument, and so skips it: node labels are mostly such text.
AttributedString readHtmlFragment(std::u16string_view html, const Font& font);

} // namespace lanthor
