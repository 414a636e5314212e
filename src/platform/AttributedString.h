#pragma once

#include "Font.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lanthor {

/// What a run of text is drawn with.
struct TextAttributes {
    Font font;
    /// 0 on the baseline, positive raised (superscript), negative lowered (subscript).
    int superscript = 0;
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

struct TextRun {
    std::size_t length = 0;
    TextAttributes attributes;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

/// Text in UTF-16 code units with attributes over runs of it. Runs are never empty, cover the
/// whole text, and neighbours always differ, so two strings that look the same compare equal.
class AttributedString {
public:
    AttributedString() = default;
    /// The whole text with one set of attributes.
    AttributedString(std::u16string text, TextAttributes attributes);

    const std::u16string& string() const { return string_; }
    std::size_t length() const { return string_.size(); }
    const std::vector<TextRun>& runs() const { return runs_; }

    /// Makes room for `length` code units, so that appending up to there allocates once.
    void reserve(std::size_t length) { string_.reserve(length); }
    /// Adds `text` at the end with `attributes`.
    void append(std::u16string_view text, const TextAttributes& attributes);
    /// Sets one font over the whole text; the other attributes stay.
    void setFont(const Font& font);

    friend bool operator==(const AttributedString&, const AttributedString&) = default;

private:
    void mergeEqualNeighbours();

    std::u16string string_;
    std::vector<TextRun> runs_;
};

} // namespace lanthor
