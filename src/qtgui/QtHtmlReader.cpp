#include "QtHtmlReader.h"

#include "base/ReplaceAll.h"
#include "model/MarkupTags.h"

#include <QChar>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <utility>
#include <vector>

namespace lanthor {

namespace {

/// True for a code unit that QTextDocument passes through as itself in plain text.
bool readsAsItself(char16_t unit) {
    if (unit == u' ') {
        return true;
    }
    if (unit < 0x21 || (unit >= 0x7F && unit < 0xA1) || (unit >= 0xD800 && unit < 0xE000) ||
        unit == 0xFEFF || unit >= 0xFFFE) {
        return false; // control characters, surrogates, the byte-order mark, non-characters
    }
    if (unit == u'<' || unit == u'>' || unit == u'&') {
        return false;
    }
    return !QChar(unit).isSpace();
}

TextAttributes attributesOf(const QTextCharFormat& format, const Font& font) {
    FontTraits traits = 0;
    if (format.fontWeight() > QFont::Normal) {
        traits |= FontTraitBold;
    }
    if (format.fontItalic()) {
        traits |= FontTraitItalic;
    }
    int superscript = 0;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        superscript = 1;
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        superscript = -1;
    }
    return {traits ? font.withTraits(traits) : font, superscript};
}

/// Removes the spaces at the start and end of every line, which HTML does not show but
/// QTextDocument keeps.
AttributedString withoutSpacesAtLineEnds(const AttributedString& text) {
    const std::u16string& string = text.string();
    const auto removable = [&](std::size_t i) {
        if (string[i] != u' ') {
            return false;
        }
        std::size_t before = i;
        while (before > 0 && string[before - 1] == u' ') {
            --before;
        }
        std::size_t after = i + 1;
        while (after < string.size() && string[after] == u' ') {
            ++after;
        }
        return before == 0 || string[before - 1] == u'\n' || after == string.size() ||
               string[after] == u'\n';
    };
    AttributedString result;
    std::size_t position = 0;
    for (const TextRun& run : text.runs()) {
        const std::size_t end = position + run.length;
        std::size_t kept = position;
        for (std::size_t i = position; i < end; ++i) {
            if (removable(i)) {
                result.append(std::u16string_view(string).substr(kept, i - kept), run.attributes);
                kept = i + 1;
            }
        }
        result.append(std::u16string_view(string).substr(kept, end - kept), run.attributes);
        position = end;
    }
    return result;
}

} // namespace

QtHtmlReader::QtHtmlReader(Font font)
    : font_(std::move(font)), document_(std::make_unique<QTextDocument>()) {
    document_->setUndoRedoEnabled(false);
}

QtHtmlReader::~QtHtmlReader() = default;

AttributedString QtHtmlReader::read(std::u16string_view html) const {
    if (std::optional<AttributedString> simple = readSimpleText(html)) {
        return std::move(*simple);
    }
    return readWithDocument(html);
}

std::optional<AttributedString> QtHtmlReader::readSimpleText(std::u16string_view html) const {
    static constexpr std::pair<std::u16string_view, char16_t> kReferences[] = {
        {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}};

    AttributedString read;
    read.reserve(html.size()); // the text read is never longer
    std::vector<MarkupElement> open;
    const auto attributes = [&] {
        FontTraits traits = 0;
        int superscript = 0;
        for (const MarkupElement element : open) {
            traits |= element == MarkupElement::Bold     ? FontTraitBold
                      : element == MarkupElement::Italic ? FontTraitItalic
                                                         : 0;
            superscript = element == MarkupElement::Subscript     ? -1
                          : element == MarkupElement::Superscript ? 1
                                                                  : superscript;
        }
        return TextAttributes{traits ? font_.withTraits(traits) : font_, superscript};
    };
    const auto startsWith = [&](std::size_t at, std::u16string_view token) {
        return html.substr(at, token.size()) == token;
    };
    // A space must stand between two visible characters: one that ends a reference, or that
    // is not markup, on the left; one that starts a reference, or that is not markup, on the
    // right. Anywhere else HTML would drop or merge it.
    const auto spaceIsPlain = [&](std::size_t at) {
        return at > 0 && at + 1 < html.size() && html[at - 1] != u' ' && html[at - 1] != u'>' &&
               html[at + 1] != u' ' && html[at + 1] != u'<';
    };

    std::size_t at = 0;
    while (at < html.size()) {
        const char16_t unit = html[at];
        if (unit == u'<') {
            const MarkupTag* tag = nullptr;
            for (const MarkupTag& candidate : kMarkupTags) {
                if (startsWith(at, candidate.text)) {
                    tag = &candidate;
                    break;
                }
            }
            if (!tag) {
                return std::nullopt;
            }
            at += tag->text.size();
            if (tag->element == MarkupElement::LineBreak) {
                read.append(u"\n", attributes());
            } else if (tag->form == MarkupTag::Opening) {
                open.push_back(tag->element);
            } else if (open.empty() || open.back() != tag->element) {
                return std::nullopt; // not properly nested
            } else {
                open.pop_back();
            }
        } else if (unit == u'&') {
            bool matched = false;
            for (const auto& [reference, character] : kReferences) {
                if (startsWith(at, reference)) {
                    read.append(std::u16string_view(&character, 1), attributes());
                    at += reference.size();
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                return std::nullopt;
            }
        } else if (unit == u' ' ? spaceIsPlain(at) : readsAsItself(unit)) {
            std::size_t end = at + 1;
            while (end < html.size() && html[end] != u' ' && readsAsItself(html[end])) {
                ++end;
            }
            read.append(html.substr(at, end - at), attributes());
            at = end;
        } else {
            return std::nullopt;
        }
    }
    if (!open.empty()) {
        return std::nullopt;
    }
    return read;
}

AttributedString QtHtmlReader::readWithDocument(std::u16string_view html) const {
    const Font& font = font_;
    // HTML reads "</br>" as a line break too; QTextDocument would drop it.
    std::u16string source(html);
    replaceAll(source, markupTag(MarkupElement::LineBreak, MarkupTag::Closing),
               markupTag(MarkupElement::LineBreak, MarkupTag::Opening));
    QTextDocument& document = *document_;
    document.setHtml(QString::fromUtf16(source.data(), static_cast<qsizetype>(source.size())));

    AttributedString read;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            read.append(u"\n", TextAttributes{font});
        }
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            std::u16string text = fragment.fragment().text().toStdU16String();
            for (char16_t& unit : text) {
                if (unit == QChar::LineSeparator) {
                    unit = u'\n';
                }
            }
            read.append(text, attributesOf(fragment.fragment().charFormat(), font));
        }
    }
    return withoutSpacesAtLineEnds(read);
}

} // namespace lanthor
