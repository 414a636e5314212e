#include "LabelMarkup.h"

#include "MarkupTags.h"
#include "base/ReplaceAll.h"
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

/// A tag of the markup, or the text between two tags.
struct MarkupToken {
    const MarkupTag* tag; ///< null for text
    std::u16string_view text;
};

std::vector<MarkupToken> markupTokens(std::u16string_view sanitized) {
    std::vector<MarkupToken> tokens;
    std::size_t textStart = 0;
    const auto endText = [&](std::size_t at) {
        if (at > textStart) {
            tokens.push_back({nullptr, sanitized.substr(textStart, at - textStart)});
        }
    };
    for (std::size_t at = sanitized.find(u'<'); at != std::u16string_view::npos;
         at = sanitized.find(u'<', at + 1)) {
        for (const MarkupTag& tag : kMarkupTags) {
            if (sanitized.substr(at, tag.text.size()) == tag.text) {
                endText(at);
                tokens.push_back({&tag, tag.text});
                textStart = at + tag.text.size();
                break;
            }
        }
    }
    endText(sanitized.size());
    return tokens;
}

constexpr std::size_t kElementCount = 5;

std::size_t indexOf(MarkupElement element) {
    return static_cast<std::size_t>(element);
}

bool isVertical(MarkupElement element) {
    return element == MarkupElement::Subscript || element == MarkupElement::Superscript;
}

/// Which tags have a partner: a closing tag pairs with the latest unpaired opening tag of its
/// element. Line breaks stand alone.
std::vector<bool> pairedTags(const std::vector<MarkupToken>& tokens) {
    std::vector<bool> paired(tokens.size(), false);
    std::array<std::vector<std::size_t>, kElementCount> open;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const MarkupTag* tag = tokens[i].tag;
        if (!tag || tag->element == MarkupElement::LineBreak) {
            continue;
        }
        std::vector<std::size_t>& stack = open[indexOf(tag->element)];
        if (tag->form == MarkupTag::Opening) {
            stack.push_back(i);
        } else if (!stack.empty()) {
            paired[stack.back()] = paired[i] = true;
            stack.pop_back();
        }
    }
    return paired;
}

/// What paired tags leave in force at a point of the text.
struct Style {
    bool bold = false;
    bool italic = false;
    MarkupElement vertical = MarkupElement::LineBreak; ///< LineBreak: neither raised nor lowered
    friend bool operator==(const Style&, const Style&) = default;
};

/// Writes text with paired tags as the fewest tags that give each piece of text its style:
/// bold, italic and raised or lowered, opened in that order around every run of one style.
class StyledTextWriter {
public:
    StyledTextWriter(std::size_t length, std::size_t tokenCount) : closed_(tokenCount, false) {
        out_.reserve(length);
    }

    void writeText(std::u16string_view text) {
        writeStyle(current());
        out_ += text;
    }
    void writeEscaped(std::u16string_view tag) {
        writeStyle(current());
        for (const char16_t c : tag) {
            out_ += c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : std::u16string(1, c);
        }
    }
    /// A paired tag at token `token`: opens or closes its element.
    void applyTag(const MarkupTag& tag, std::size_t token) {
        const std::size_t element = indexOf(tag.element);
        if (tag.form == MarkupTag::Opening) {
            ++depth_[element];
            open_[element].push_back(token);
            if (isVertical(tag.element)) {
                verticals_.emplace_back(tag.element, token);
            }
        } else {
            --depth_[element];
            closed_[open_[element].back()] = true;
            open_[element].pop_back();
        }
    }
    std::u16string finish() {
        writeStyle(Style{});
        return std::move(out_);
    }

private:
    Style current() {
        // Raised and lowered text take the innermost of the two still open; closed entries
        // leave the stack once they reach its top.
        while (!verticals_.empty() && closed_[verticals_.back().second]) {
            verticals_.pop_back();
        }
        return {depth_[indexOf(MarkupElement::Bold)] > 0,
                depth_[indexOf(MarkupElement::Italic)] > 0,
                verticals_.empty() ? MarkupElement::LineBreak : verticals_.back().first};
    }
    void writeStyle(const Style& style) {
        if (style == written_) {
            return;
        }
        if (written_.vertical != MarkupElement::LineBreak) {
            out_ += markupTag(written_.vertical, MarkupTag::Closing);
        }
        if (written_.italic) {
            out_ += markupTag(MarkupElement::Italic, MarkupTag::Closing);
        }
        if (written_.bold) {
            out_ += markupTag(MarkupElement::Bold, MarkupTag::Closing);
        }
        if (style.bold) {
            out_ += markupTag(MarkupElement::Bold, MarkupTag::Opening);
        }
        if (style.italic) {
            out_ += markupTag(MarkupElement::Italic, MarkupTag::Opening);
        }
        if (style.vertical != MarkupElement::LineBreak) {
            out_ += markupTag(style.vertical, MarkupTag::Opening);
        }
        written_ = style;
    }

    std::u16string out_;
    Style written_;
    std::array<int, kElementCount> depth_{};
    std::array<std::vector<std::size_t>, kElementCount> open_;     ///< opening tokens still open
    std::vector<std::pair<MarkupElement, std::size_t>> verticals_; ///< element, opening token
    std::vector<bool> closed_; ///< per token: an opening tag that has been closed
};

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
    const std::vector<MarkupToken> tokens = markupTokens(sanitized);
    const std::vector<bool> paired = pairedTags(tokens);
    StyledTextWriter writer(sanitized.size(), tokens.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const MarkupTag* tag = tokens[i].tag;
        if (!tag || tag->element == MarkupElement::LineBreak) {
            writer.writeText(tokens[i].text);
        } else if (!paired[i]) {
            writer.writeEscaped(tag->text); // without its partner a tag is text, shown as typed
        } else {
            writer.applyTag(*tag, i);
        }
    }
    return writer.finish();
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
