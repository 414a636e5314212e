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
