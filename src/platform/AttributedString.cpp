#include "AttributedString.h"

#include <algorithm>

namespace lanthor {

AttributedString::AttributedString(std::u16string text, TextAttributes attributes)
    : string_(std::move(text)) {
    if (!string_.empty()) {
        runs_.push_back({string_.size(), std::move(attributes)});
    }
}

void AttributedString::append(std::u16string_view text, const TextAttributes& attributes) {
    if (text.empty()) {
        return;
    }
    string_ += text;
    if (!runs_.empty() && runs_.back().attributes == attributes) {
        runs_.back().length += text.size();
    } else {
        runs_.push_back({text.size(), attributes});
    }
}

void AttributedString::setFont(const Font& font) {
    for (TextRun& run : runs_) {
        run.attributes.font = font;
    }
    mergeEqualNeighbours();
}

void AttributedString::applyFontTraits(FontTraits traits, TextRange range) {
    range = clamped(range);
    if (range.length == 0) {
        return;
    }
    const std::size_t first = splitRunAt(range.location);
    const std::size_t last = splitRunAt(range.end());
    for (std::size_t i = first; i < last; ++i) {
        runs_[i].attributes.font = runs_[i].attributes.font.withTraits(traits);
    }
    mergeEqualNeighbours();
}

void AttributedString::deleteCharacters(TextRange range) {
    range = clamped(range);
    if (range.length == 0) {
        return;
    }
    const std::size_t first = splitRunAt(range.location);
    const std::size_t last = splitRunAt(range.end());
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first),
                runs_.begin() + static_cast<std::ptrdiff_t>(last));
    string_.erase(range.location, range.length);
    mergeEqualNeighbours();
}

TextRange AttributedString::clamped(TextRange range) const {
    const std::size_t location = std::min(range.location, string_.size());
    return {location, std::min(range.length, string_.size() - location)};
}

std::size_t AttributedString::splitRunAt(std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (start == index) {
            return i;
        }
        const std::size_t end = start + runs_[i].length;
        if (index < end) {
            TextRun tail{end - index, runs_[i].attributes};
            runs_[i].length = index - start;
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return i + 1;
        }
        start = end;
    }
    return runs_.size();
}

void AttributedString::mergeEqualNeighbours() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (runs_[i].length == 0) {
            continue;
        }
        if (kept > 0 && runs_[kept - 1].attributes == runs_[i].attributes) {
            runs_[kept - 1].length += runs_[i].length;
        } else {
            if (kept != i) {
                runs_[kept] = std::move(runs_[i]);
            }
            ++kept;
        }
    }
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(kept), runs_.end());
}

} // namespace lanthor
