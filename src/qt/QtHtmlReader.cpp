#include "QtHtmlReader.h"

#include "render/LabelMarkup.h"

#include <QChar>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace lanthor {

namespace {

/// True for a code unit that QTextDocument passes through as itself in plain text.
bool readsAsItself(char16_t unit) {
    if (unit == u' ') {
        return true;
    }
    if (unit < 0x21 || (unit >= 0x7F && unit < 0xA1) || (unit >= 0xD800 && unit < 0xE000) ||
        unit >= 0xFFFE) {
        return false; // control characters, surrogates, non-characters
    }
    if (unit == u'<' || unit == u'>' || unit == u'&') {
        return false;
    }
    return !QChar(unit).isSpace();
}

/// Plain text as HTML shows it: runs of spaces collapse to one, none at either end.
std::u16string collapsedSpaces(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (const char16_t unit : text) {
        if (unit == u' ') {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace) {
            result += u' ';
            pendingSpace = false;
        }
        result += unit;
    }
    return result;
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

AttributedString readHtmlFragment(std::u16string_view html, const Font& font) {
    bool plain = true;
    for (const char16_t unit : html) {
        if (!readsAsItself(unit)) {
            plain = false;
            break;
        }
    }
    if (plain) {
        return AttributedString(collapsedSpaces(html), TextAttributes{font});
    }

    // HTML reads "</br>" as a line break too; QTextDocument would drop it.
    std::u16string source(html);
    replaceAll(source, u"</br>", u"<br>");
    QTextDocument document;
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
