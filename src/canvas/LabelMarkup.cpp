#include "LabelMarkup.h"

#include "base/ReplaceAll.h"
#include "model/MarkupRuns.h"
#include "model/Tree.h"

#include <algorithm>
#include <array>
#include <vector>

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

std::u16string balanceMarkup(std::u16string_view sanitized) {
    if (sanitized.find(u'<') == std::u16string_view::npos) {
        return std::u16string(sanitized);
    }
    // Each run in the fewest tags that give it its style: bold, italic, then raised or lowered,
    // opened in that order around every run of one style.
    std::u16string out;
    out.reserve(sanitized.size());
    MarkupStyle written;
    const auto writeStyle = [&](const MarkupStyle& style) {
        if (style == written) {
            return;
        }
        if (written.vertical != MarkupElement::LineBreak) {
            out += markupTag(written.vertical, MarkupTag::Closing);
        }
        if (written.italic) {
            out += markupTag(MarkupElement::Italic, MarkupTag::Closing);
        }
        if (written.bold) {
            out += markupTag(MarkupElement::Bold, MarkupTag::Closing);
        }
        if (style.bold) {
            out += markupTag(MarkupElement::Bold, MarkupTag::Opening);
        }
        if (style.italic) {
            out += markupTag(MarkupElement::Italic, MarkupTag::Opening);
        }
        if (style.vertical != MarkupElement::LineBreak) {
            out += markupTag(style.vertical, MarkupTag::Opening);
        }
        written = style;
    };
    for (const MarkupRun& run : markupRuns(sanitized)) {
        writeStyle(run.style);
        if (run.kind == MarkupRun::UnpairedTag) {
            for (const char16_t c : run.text) { // escaped again: shown as typed
                out += c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : std::u16string(1, c);
            }
        } else {
            out += run.text;
        }
    }
    writeStyle({});
    return out;
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
    const std::u16string& string = text.string();
    std::vector<std::size_t> openings;
    std::vector<std::size_t> closings;
    for (std::size_t at = 0; at < string.size();) {
        if ((at = findIgnoringCase(string, opening, at)) == std::u16string::npos) {
            break;
        }
        openings.push_back(at);
        at += opening.size();
    }
    for (std::size_t at = 0; !openings.empty() && at < string.size();) {
        if ((at = findIgnoringCase(string, closing, at)) == std::u16string::npos) {
            break;
        }
        closings.push_back(at);
        at += closing.size();
    }
    // Each opening marker, in order, with the first closing marker after it that is still
    // free, until one has none: what pairing the first markers again and again comes to.
    // `styled` counts the pairs around each position: +1 where a pair starts, -1 past its end.
    std::vector<int> styled(string.size() + 1, 0);
    std::vector<bool> removed(string.size(), false);
    std::size_t nextClosing = 0;
    bool paired = false;
    for (const std::size_t open : openings) {
        while (nextClosing < closings.size() && closings[nextClosing] < open + opening.size()) {
            ++nextClosing; // stands before this opening and every later one: stays as text
        }
        if (nextClosing == closings.size()) {
            break;
        }
        const std::size_t close = closings[nextClosing++];
        paired = true;
        ++styled[open];
        --styled[close + closing.size()];
        std::fill_n(removed.begin() + static_cast<std::ptrdiff_t>(open), opening.size(), true);
        std::fill_n(removed.begin() + static_cast<std::ptrdiff_t>(close), closing.size(), true);
    }
    if (!paired) {
        return;
    }
    // One pass over the text: what is kept, with the traits added where a pair encloses it.
    AttributedString result;
    result.reserve(string.size());
    std::size_t position = 0;
    int depth = 0;
    for (const TextRun& run : text.runs()) {
        const TextAttributes withTraits{run.attributes.font.withTraits(traits),
                                        run.attributes.superscript};
        const std::size_t end = position + run.length;
        std::size_t pieceStart = position;
        bool pieceStyled = false;
        const auto flush = [&](std::size_t upTo) {
            if (upTo > pieceStart) {
                result.append(std::u16string_view(string).substr(pieceStart, upTo - pieceStart),
                              pieceStyled ? withTraits : run.attributes);
            }
        };
        for (; position < end; ++position) {
            depth += styled[position];
            if (removed[position]) {
                flush(position);
                pieceStart = position + 1;
            } else if ((depth > 0) != pieceStyled) {
                flush(position);
                pieceStart = position;
                pieceStyled = depth > 0;
            }
        }
        flush(end);
    }
    text = std::move(result);
}

} // namespace lanthor
