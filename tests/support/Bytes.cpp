#include "support/Bytes.h"

#include "base/Utf.h"

namespace lanthor::test {

namespace {

/// Each code unit, or each code point when `width` is 4, as `width` bytes.
std::string encode(std::u16string_view text, int width, bool bigEndian) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t value = text[i];
        const bool pair = width == 4 && value >= 0xD800 && value <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            value = 0x10000 + ((value - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        for (int k = 0; k < width; ++k) {
            out += static_cast<char>(value >> 8 * (bigEndian ? width - 1 - k : k));
        }
    }
    return out;
}

} // namespace

std::string utf8(std::u16string_view text) {
    return toUtf8(text);
}
std::string utf16le(std::u16string_view text) {
    return encode(text, 2, false);
}
std::string utf16be(std::u16string_view text) {
    return encode(text, 2, true);
}
std::string utf32le(std::u16string_view text) {
    return encode(text, 4, false);
}
std::string utf32be(std::u16string_view text) {
    return encode(text, 4, true);
}

std::u16string repeated(std::u16string_view text, std::size_t count) {
    std::u16string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

} // namespace lanthor::test
