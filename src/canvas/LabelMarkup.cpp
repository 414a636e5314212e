#include "LabelMarkup.h"

#include "MarkupTags.h"
#include "base/ReplaceAll.h"
#include "model/Tree.h"

#include <algorithm>
#include <array>

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

void escapeAngleBrackets(std::u16string& text) {
    replaceAll(text, u"<", u"&lt;");
    replaceAll(text, u">", u"&gt;");
}

/// Each tag of the markup as escaping leaves it ("&lt;b&gt;"), in the order of kMarkupTags.
const std::array<std::u16string, kMarkupTags.size()>& escapedMarkupTags() {
    static const std::array<std::u16string, kMarkupTags.size()> escaped = [] {
        std::array<std::u16string, kMarkupTags.size()> tags;
        for (std::size_t i = 0; i < kMarkupTags.size(); ++i) {
            tags[i] = std::u16string(kMarkupTags[i].text);
            escapeAngleBrackets(tags[i]);
        }
        return tags;
    }();
    return escaped;
}

/// The style marker that carries `tag` past the HTML reader; only bold and italic tags have one.
std::u16string_view styleMarker(const MarkupTag& tag) {
    switch (tag.element) {
    case MarkupElement::Bold:
        return tag.form == MarkupTag::Closing ? kBoldClosingMarker : kBoldOpeningMarker;
    case MarkupElement::Italic:
        return tag.form == MarkupTag::Closing ? kItalicClosingMarker : kItalicOpeningMarker;
    case MarkupElement::LineBreak:
    case MarkupElement::Subscript:
    case MarkupElement::Superscript:
        break;
    }
    return {};
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
    escapeAngleBrackets(text);
    const auto& escapedTags = escapedMarkupTags();
    for (std::size_t i = 0; i < kMarkupTags.size(); ++i) {
        replaceAll(text, escapedTags[i], kMarkupTags[i].text);
    }
    return text;
}

bool hasStyleTags(std::u16string_view sanitized) {
    for (const MarkupTag& tag : kMarkupTags) {
        if (!styleMarker(tag).empty() && sanitized.find(tag.text) != std::u16string_view::npos) {
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
    // No marker holds an angle bracket, so no replacement can make or break another's tag.
    for (const MarkupTag& tag : kMarkupTags) {
        if (const std::u16string_view marker = styleMarker(tag); !marker.empty()) {
            replaceAll(text, tag.text, marker);
        }
    }
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
