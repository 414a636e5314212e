#include "WholeNumber.h"

namespace lanthor {

std::optional<std::int64_t> wholeNumberIn(std::u16string_view text, std::int64_t lowest,
                                          std::int64_t highest) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Digits past the range's width cannot give a number in it; stop before they overflow.
    std::int64_t magnitude = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9' || magnitude > INT64_MAX / 10 - 9) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - u'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

} // namespace lanthor
