// The canvas's label markup: escaping, measuring and styling node labels.

#include "LabelMarkup.h"
#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "LanthorNodeView.h"
#include "platform/Painter.h"
#include "platform/TextSystem.h"

#include <atomic>

namespace lanthor {

namespace {

/// Room for the view's padding on both sides of the text.
constexpr double kExtraWidth = 10.0;

/// True for a label that reads as itself, all in one font: printable ASCII with no character
/// that markup, a character reference or a style marker starts with, and single spaces only
/// between other characters, which HTML keeps as they are. Most labels are such text, and
/// skip the reader.
bool readsAsItself(std::u16string_view label) {
    for (std::size_t i = 0; i < label.size(); ++i) {
        const char16_t unit = label[i];
        if (unit == u' ') {
            if (i == 0 || i + 1 == label.size() || label[i - 1] == u' ') {
                return false;
            }
        } else if (unit < 0x21 || unit > 0x7E || unit == u'<' || unit == u'>' || unit == u'&' ||
                   unit == u'[') {
            return false;
        }
    }
    return true;
}

} // namespace

std::u16string LanthorDocumentView::sanitize(std::u16string_view label) const {
    return sanitizeLabel(label);
}

Size LanthorDocumentView::measureSanitized(std::u16string_view sanitized, const Font& font,
                                           AttributedString* read) const {
    AttributedString visible = textSystem_.readHtml(sanitized);
    // Only the plain text counts, all of it in the configured font.
    const Size size = textSystem_.measure(visible.string(), font);
    if (read) {
        *read = std::move(visible);
    }
    return {size.width + kExtraWidth, size.height};
}

Size LanthorDocumentView::getStringSize(std::u16string_view label) const {
    return measureSanitized(balanceMarkup(sanitize(label)), configuration().font(), nullptr);
}

void LanthorDocumentView::markBold(AttributedString& text) const {
    applyStyleMarkers(text, kBoldOpeningMarker, kBoldClosingMarker, FontTraitBold);
}

void LanthorDocumentView::markItalic(AttributedString& text) const {
    applyStyleMarkers(text, kItalicOpeningMarker, kItalicClosingMarker, FontTraitItalic);
}

const LanthorDocumentView::LabelSettings& LanthorDocumentView::labelSettings() const {
    static std::atomic<std::uint32_t> lastGeneration{0};
    const LanthorConfiguration& settings = configuration();
    if (!labelSettings_ || !(labelSettings_->font == settings.font()) ||
        labelSettings_->showNodeNumber != settings.showNodeNumber()) {
        // A space has no width worth keeping, but the full height of a line in the font.
        labelSettings_ = LabelSettings{settings.font(), settings.showNodeNumber(), ++lastGeneration,
                                       textSystem_.measure(u" ", settings.font()).height};
    }
    return *labelSettings_;
}

std::u16string LanthorDocumentView::labelOf(const Tree& node, const LabelSettings& settings) const {
    return nodeLabel(node, settings.showNodeNumber);
}

LanthorDocumentView::LabelMetrics
LanthorDocumentView::measureLabel(std::u16string_view label, const LabelSettings& settings) const {
    const Font& font = settings.font;
    if (readsAsItself(label)) {
        if (label.empty()) {
            return {kExtraWidth, {0, settings.lineHeight}};
        }
        // The text shown is the label in one font: measured as plain text, it has its size.
        const Size size = textSystem_.measure(label, font);
        return {size.width + kExtraWidth, size};
    }
    // Balanced for both measuring and showing, so that what is shown is what was measured.
    std::u16string escaped;
    std::u16string_view sanitized = label;
    if (mayHoldMarkup(label)) {
        escaped = balanceMarkup(sanitize(label));
        sanitized = escaped;
    }
    AttributedString read;
    const double width = measureSanitized(sanitized, font, &read).width;
    // The reader gives the same result for the same input: read again only when bold or italic
    // tags have become markers.
    AttributedString text = hasStyleTags(sanitized)
                                ? textSystem_.readHtml(withStyleMarkers(sanitized))
                                : std::move(read);
    if (text.length() == 0) {
        return {width, {0, settings.lineHeight}};
    }
    text.setFont(font);
    markBold(text);
    markItalic(text);
    return {width, textSystem_.measure(text)};
}

std::optional<AttributedString> LanthorDocumentView::makeLabelText(std::u16string_view label,
                                                                   const Font& font) const {
    if (readsAsItself(label)) {
        if (label.empty()) {
            return std::nullopt;
        }
        return AttributedString(std::u16string(label), TextAttributes{font});
    }
    const std::u16string sanitized =
        mayHoldMarkup(label) ? balanceMarkup(sanitize(label)) : std::u16string(label);
    AttributedString text =
        textSystem_.readHtml(hasStyleTags(sanitized) ? withStyleMarkers(sanitized) : sanitized);
    if (text.length() == 0) {
        return std::nullopt;
    }
    text.setFont(font);
    markBold(text);
    markItalic(text);
    return text;
}

const AttributedString& LanthorDocumentView::shownText(const LanthorNodeView& view) const {
    static const AttributedString none;
    const std::shared_ptr<Tree>& node = view.underlyingNode();
    if (!node) {
        return none;
    }
    const LabelSettings& settings = labelSettings();
    if (const AttributedString* kept = texts_.find(*node, settings.generation)) {
        return *kept;
    }
    std::optional<AttributedString> text = makeLabelText(labelOf(*node, settings), settings.font);
    return texts_.add(node, settings.generation, text ? std::move(*text) : AttributedString());
}

AttributedString LanthorDocumentView::labelText(const LanthorNodeView& view) const {
    return shownText(view);
}

void LanthorDocumentView::drawNodeView(const LanthorNodeView& view, Painter& painter) const {
    if (view.drawsBackground()) {
        painter.fillRect(view.frame(), Color::gray());
    }
    const AttributedString& text = shownText(view);
    if (text.length() > 0) {
        painter.drawText(text, view.textRect());
    }
}

} // namespace lanthor
