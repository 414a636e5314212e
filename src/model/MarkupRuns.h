#pragma once

#include "MarkupTags.h"

#include <string_view>
#include <vector>

namespace lanthor {

/// What paired tags leave in force at a point of a node's text.
struct MarkupStyle {
    bool bold = false;
    bool italic = false;
    /// Subscript or Superscript, the innermost of the two still open; LineBreak for neither.
    MarkupElement vertical = MarkupElement::LineBreak;
    friend bool operator==(const MarkupStyle&, const MarkupStyle&) = default;
};

/// A piece of a node's text in one style: text, a line break, or a tag without its partner,
/// which is text too (shown as typed).
struct MarkupRun {
    enum Kind { Text, LineBreak, UnpairedTag };
    Kind kind;
    std::u16string_view text; ///< the characters, or the tag as written
    MarkupStyle style;
};

/// Reads the label markup of `text` (kMarkupTags) in time linear in its length, however the tags
/// are nested: a closing tag ends the latest open tag of its element, a tag without a partner is
/// a run of its own, and the runs of text carry the style their tags give them. Everything that
/// is not a tag is text, character references included. The runs point into `text`.
std::vector<MarkupRun> markupRuns(std::u16string_view text);

} // namespace lanthor
