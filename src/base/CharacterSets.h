#pragma once

// The character classes the CSV grammar and writer test code units against.
// All work on single UTF-16 code units; surrogates belong to none of them.

namespace lanthor {

/// Line breaks: U+000A to U+000D, U+0085, U+2028 and U+2029.
constexpr bool isNewlineCharacter(char16_t c) {
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

/// Space separators (general category Zs).
constexpr bool isSpaceSeparator(char16_t c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

/// Blanks within a line: the space separators and the tab.
constexpr bool isWhitespaceCharacter(char16_t c) {
    return c == 0x09 || isSpaceSeparator(c);
}

/// Separators of every kind (Zs, Zl, Zp) and U+000A to U+000D, U+0085. The tab is not one.
constexpr bool isWhitespaceOrNewlineCharacter(char16_t c) {
    return isSpaceSeparator(c) || isNewlineCharacter(c);
}

} // namespace lanthor
