#pragma once

#include "platform/AttributedString.h"

#include <string>
#include <string_view>

namespace lanthor {

class Tree;

/// The plain-text tokens that carry bold and italic past the HTML reader. They hold no
/// character that HTML treats specially, and a user can type them too.
inline constexpr std::u16string_view kBoldOpeningMarker = u"[__bold__]";
inline constexpr std::u16string_view kBoldClosingMarker = u"[/_bold__]";
inline constexpr std::u16string_view kItalicOpeningMarker = u"[__italic__]";
inline constexpr std::u16string_view kItalicClosingMarker = u"[/_italic__]";

/// What a node shows: its text, or "[number]text" while node numbers are shown.
std::u16string nodeLabel(const Tree& node, bool showNodeNumber);

/// True unless the text has none of the characters that markup is made of (< > &), so that
/// escaping and reading leave it as it is but for its white space.
bool mayHoldMarkup(std::u16string_view text);

/// Escapes the angle brackets, then restores the tags of the markup (kMarkupTags: <b> <i> <br>
/// <sub> <sup> and their closing forms), also where the text spelled them with "&lt;" and
/// "&gt;". The ampersand is left alone, so character references reach the HTML reader.
std::u16string sanitizeLabel(std::u16string_view label);

/// Escaped text made safe to read, in time linear in its length: a tag without its partner (an
/// opening tag never closed, a closing tag with nothing open) is escaped again, so that it shows
/// exactly as typed; the paired tags are rewritten as at most one of each around every run of
/// text in one style, however deep they were nested. A line break stays where it stands.
std::u16string balanceMarkup(std::u16string_view sanitized);

/// True when escaped text holds a bold or italic tag.
bool hasStyleTags(std::u16string_view sanitized);

/// Replaces the bold and italic tags of escaped text by their style markers.
std::u16string withStyleMarkers(std::u16string_view sanitized);

/// Applies `traits` between the first `opening` marker (any letter case) and the first `closing`
/// marker after it, removes both markers, and repeats until a marker is missing. A closing
/// marker with no opening marker before it stays in the text. Done in one pass over the text:
/// a marker that would only form from pieces joined by removing others stays text.
void applyStyleMarkers(AttributedString& text, std::u16string_view opening,
                       std::u16string_view closing, FontTraits traits);

} // namespace lanthor
