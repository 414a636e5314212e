#include "LabelMarkup.h"

#include "base/ReplaceAll.h"
#include "model/Tree.h"

#include <algorithm>
#include <array>
#include <utility>

namespace lanthor {

namespace {

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

/// The first occurrence of `pattern` at or after `from`, ignoring the case of ASCII letters.
std::size_t findIgnoringCase(std::u16string_view text, std::u16string_view pattern,
                             std::size_t from) {
    if (pattern.empty() || text.size() < pattern.size()) {
        return std::u16string_view::npos;
    }
    const auto equalIgnoringCase = [](char16_t a, char16_t b) {
        return asciiLower(a) == asciiLower(b);
    };
    for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
        if (std::equal(pattern.begin(), pattern.end(),
                       text.begin() + static_cast<std::ptrdiff_t>(i), equalIgnoringCase)) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

} // namespace

bool mayHoldMarkup(std::u16string_view text) {
    return text.find_first_of(u"<>&") != std::u16string_view::npos;
}

std::u16string nodeLabel(const Tree& node, bool showNodeNumber) {
    if (!showNodeNumber) {
        return node.nodeValue();
    }
    std::u16string label;
    label.reserve(node.nodeNumber().size() + node.nodeValue().size() + 2);
    label += u'[';
    label += node.nodeNumber();
    label += u']';
    label += node.nodeValue();
    return label;
}

std::u16string sanitizeLabel(std::u16string_view label) {
    std::u16string text(label);
    if (!mayHoldMarkup(text)) {
        return text; // none of the replacements can match
    }
    static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 12> steps{{
        {u"<", u"&lt;"},
        {u">", u"&gt;"},
        {u"&lt;b&gt;", u"<b>"},
        {u"&lt;i&gt;", u"<i>"},
        {u"&lt;br&gt;", u"<br>"},
        {u"&lt;sub&gt;", u"<sub>"},
        {u"&lt;sup&gt;", u"<sup>"},
        {u"&lt;/b&gt;", u"</b>"},
        {u"&lt;/i&gt;", u"</i>"},
        {u"&lt;/br&gt;", u"</br>"},
        {u"&lt;/sub&gt;", u"</sub>"},
        {u"&lt;/sup&gt;", u"</sup>"},
    }};
    for (const auto& [from, to] : steps) {
        replaceAll(text, from, to);
    }
    return text;
}

bool hasStyleTags(std::u16string_view sanitized) {
    for (const std::u16string_view tag : {u"<b>", u"</b>", u"<i>", u"</i>"}) {
        if (sanitized.find(tag) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

std::u16string withStyleMarkers(std::u16string_view sanitized) {
    std::u16string text(sanitized);
    if (text.find(u'<') == std::u16string::npos) {
        return text;
    }
    replaceAll(text, u"<b>", kBoldOpeningMarker);
    replaceAll(text, u"</b>", kBoldClosingMarker);
    replaceAll(text, u"<i>", kItalicOpeningMarker);
    replaceAll(text, u"</i>", kItalicClosingMarker);
    return text;
}

void applyStyleMarkers(AttributedString& text, std::u16string_view opening,
                       std::u16string_view closing, FontTraits traits) {
    for (;;) {
        const std::size_t open = findIgnoringCase(text.string(), opening, 0);
        if (open == std::u16string_view::npos) {
            return;
        }
        // Searching after the opening marker finds the same closing marker as searching the
        // whole text whenever that one stands after it; one that stands before it is left as
        // text rather than pairing backwards.
        const std::size_t close = findIgnoringCase(text.string(), closing, open + opening.size());
        if (close == std::u16string_view::npos) {
            return;
        }
        text.applyFontTraits(traits, {open, close - open + closing.size()});
        // The later marker first, so that the earlier one's place still holds.
        text.deleteCharacters({close, closing.size()});
        text.deleteCharacters({open, opening.size()});
    }
}

} // namespace lanthor
