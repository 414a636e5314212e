#include "MarkupRuns.h"

#include <array>
#include <cstddef>

namespace lanthor {

namespace {

/// A tag of the markup, or the text between two tags.
struct MarkupToken {
    const MarkupTag* tag; ///< null for text
    std::u16string_view text;
};

std::vector<MarkupToken> markupTokens(std::u16string_view text) {
    std::vector<MarkupToken> tokens;
    std::size_t textStart = 0;
    const auto endText = [&](std::size_t at) {
        if (at > textStart) {
            tokens.push_back({nullptr, text.substr(textStart, at - textStart)});
        }
    };
    for (std::size_t at = text.find(u'<'); at != std::u16string_view::npos;
         at = text.find(u'<', at + 1)) {
        for (const MarkupTag& tag : kMarkupTags) {
            if (text.substr(at, tag.text.size()) == tag.text) {
                endText(at);
                tokens.push_back({&tag, tag.text});
                textStart = at + tag.text.size();
                break;
            }
        }
    }
    endText(text.size());
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

/// The style that the paired tags read so far leave in force.
class StyleTracker {
public:
    explicit StyleTracker(std::size_t tokenCount) : closed_(tokenCount, false) {}

    /// A paired tag at token `token`: opens or closes its element.
    void apply(const MarkupTag& tag, std::size_t token) {
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

    MarkupStyle current() {
        // Raised and lowered text take the innermost of the two still open; closed entries
        // leave the stack once they reach its top.
        while (!verticals_.empty() && closed_[verticals_.back().second]) {
            verticals_.pop_back();
        }
        return {depth_[indexOf(MarkupElement::Bold)] > 0,
                depth_[indexOf(MarkupElement::Italic)] > 0,
                verticals_.empty() ? MarkupElement::LineBreak : verticals_.back().first};
    }

private:
    std::array<int, kElementCount> depth_{};
    std::array<std::vector<std::size_t>, kElementCount> open_;     ///< opening tokens still open
    std::vector<std::pair<MarkupElement, std::size_t>> verticals_; ///< element, opening token
    std::vector<bool> closed_; ///< per token: an opening tag that has been closed
};

} // namespace

std::vector<MarkupRun> markupRuns(std::u16string_view text) {
    const std::vector<MarkupToken> tokens = markupTokens(text);
    const std::vector<bool> paired = pairedTags(tokens);
    StyleTracker style(tokens.size());
    std::vector<MarkupRun> runs;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const MarkupTag* tag = tokens[i].tag;
        if (!tag) {
            runs.push_back({MarkupRun::Text, tokens[i].text, style.current()});
        } else if (tag->element == MarkupElement::LineBreak) {
            runs.push_back({MarkupRun::LineBreak, tokens[i].text, style.current()});
        } else if (!paired[i]) {
            runs.push_back({MarkupRun::UnpairedTag, tokens[i].text, style.current()});
        } else {
            style.apply(*tag, i);
        }
    }
    return runs;
}

} // namespace lanthor
