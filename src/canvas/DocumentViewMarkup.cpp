// The canvas's label markup: escaping, measuring and styling node labels.

#include "LabelMarkup.h"
#include "LanthorConfiguration.h"
#include "LanthorDocumentView.h"
#include "platform/TextSystem.h"

namespace lanthor {

namespace {

/// Room for the view's padding on both sides of the text.
constexpr double kExtraWidth = 10.0;

} // namespace

std::u16string LanthorDocumentView::sanitize(std::u16string_view label) const {
    return sanitizeLabel(label);
}

Size LanthorDocumentView::measureSanitized(std::u16string_view sanitized,
                                           AttributedString* read) const {
    AttributedString visible = textSystem_.readHtml(sanitized);
    // Only the plain text counts, all of it in the configured font.
    const Size size = textSystem_.measure(visible.string(), configuration().font());
    if (read) {
        *read = std::move(visible);
    }
    return {size.width + kExtraWidth, size.height};
}

Size LanthorDocumentView::getStringSize(std::u16string_view label) const {
    return measureSanitized(balanceMarkup(sanitize(label)), nullptr);
}

void LanthorDocumentView::markBold(AttributedString& text) const {
    applyStyleMarkers(text, kBoldOpeningMarker, kBoldClosingMarker, FontTraitBold);
}

void LanthorDocumentView::markItalic(AttributedString& text) const {
    applyStyleMarkers(text, kItalicOpeningMarker, kItalicClosingMarker, FontTraitItalic);
}

LanthorDocumentView::PreparedLabel
LanthorDocumentView::prepareLabel(std::u16string_view label) const {
    // Most labels hold no markup, and escaping leaves them as they are.
    std::u16string escaped;
    std::u16string_view sanitized = label;
    if (mayHoldMarkup(label)) {
        // Balanced for both measuring and showing, so that what is shown is what was measured.
        escaped = balanceMarkup(sanitize(label));
        sanitized = escaped;
    }
    AttributedString read;
    PreparedLabel prepared;
    prepared.width = measureSanitized(sanitized, &read).width;

    // The reader gives the same result for the same input: read again only when bold or italic
    // tags have become markers.
    AttributedString text = hasStyleTags(sanitized)
                                ? textSystem_.readHtml(withStyleMarkers(sanitized))
                                : std::move(read);
    if (text.length() == 0) {
        return prepared;
    }
    text.setFont(configuration().font());
    markBold(text);
    markItalic(text);
    prepared.text = std::move(text);
    return prepared;
}

double LanthorDocumentView::lineHeight() const {
    // A space has no width worth keeping, but the full height of a line in the font.
    return textSystem_.measure(u" ", configuration().font()).height;
}

} // namespace lanthor
