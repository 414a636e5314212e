// The canvas's label markup: escaping, measuring and styling node labels.

#include "LabelMarkup.h"
#include "LanthorDocumentView.h"
#include "app/LanthorConfiguration.h"
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
    const Size size = textSystem_.measure(
        AttributedString(visible.string(), TextAttributes{configuration().font()}));
    if (read) {
        *read = std::move(visible);
    }
    return {size.width + kExtraWidth, size.height};
}

Size LanthorDocumentView::getStringSize(std::u16string_view label) const {
    return measureSanitized(sanitize(label), nullptr);
}

void LanthorDocumentView::markBold(AttributedString& text) const {
    applyStyleMarkers(text, kBoldOpeningMarker, kBoldClosingMarker, FontTraitBold);
}

void LanthorDocumentView::markItalic(AttributedString& text) const {
    applyStyleMarkers(text, kItalicOpeningMarker, kItalicClosingMarker, FontTraitItalic);
}

LanthorDocumentView::PreparedLabel
LanthorDocumentView::prepareLabel(std::u16string_view label) const {
    const std::u16string sanitized = sanitize(label);
    AttributedString read;
    PreparedLabel prepared;
    prepared.width = measureSanitized(sanitized, &read).width;

    const std::u16string marked = withStyleMarkers(sanitized);
    // The reader gives the same result for the same input: read again only when the bold and
    // italic tags have become markers.
    AttributedString text = marked == sanitized ? std::move(read) : textSystem_.readHtml(marked);
    if (text.length() == 0) {
        return prepared; // the view keeps the text it had
    }
    text.setFont(configuration().font());
    markBold(text);
    markItalic(text);
    prepared.text = std::move(text);
    return prepared;
}

} // namespace lanthor
