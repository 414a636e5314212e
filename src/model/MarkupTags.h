#pragma once

#include <array>
#include <string_view>

namespace lanthor {

/// What a tag of the label markup does to the text it encloses (or, for a line break, where it
/// stands).
enum class MarkupElement { Bold, Italic, LineBreak, Subscript, Superscript };

/// One tag of the label markup, spelled exactly: lower case, no attributes, no spaces.
struct MarkupTag {
    enum Form { Opening, Closing };

    std::u16string_view text;
    MarkupElement element;
    Form form;
};

/// The label markup, the one list of its tags: the sanitizer keeps exactly these and escapes
/// every other tag, the HTML reader reads text made of these on its fast path. A closing line
/// break reads as a line break too, as it does in HTML.
inline constexpr std::array<MarkupTag, 10> kMarkupTags{{
    {u"<b>", MarkupElement::Bold, MarkupTag::Opening},
    {u"<i>", MarkupElement::Italic, MarkupTag::Opening},
    {u"<br>", MarkupElement::LineBreak, MarkupTag::Opening},
    {u"<sub>", MarkupElement::Subscript, MarkupTag::Opening},
    {u"<sup>", MarkupElement::Superscript, MarkupTag::Opening},
    {u"</b>", MarkupElement::Bold, MarkupTag::Closing},
    {u"</i>", MarkupElement::Italic, MarkupTag::Closing},
    {u"</br>", MarkupElement::LineBreak, MarkupTag::Closing},
    {u"</sub>", MarkupElement::Subscript, MarkupTag::Closing},
    {u"</sup>", MarkupElement::Superscript, MarkupTag::Closing},
}};

/// The tag of `element` in the given form.
constexpr std::u16string_view markupTag(MarkupElement element, MarkupTag::Form form) {
    for (const MarkupTag& tag : kMarkupTags) {
        if (tag.element == element && tag.form == form) {
            return tag.text;
        }
    }
    return {};
}

} // namespace lanthor
