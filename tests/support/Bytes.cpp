#include "support/Bytes.h"

#include "base/Log.h"

namespace lanthor::test {

namespace {

std::u32string codePoints(std::u16string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[++i] - 0xDC00));
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

std::string utf32(std::u16string_view text, bool bigEndian) {
    std::string out;
    for (const char32_t cp : codePoints(text)) {
        for (int k = 0; k < 4; ++k) {
            const int shift = bigEndian ? 24 - 8 * k : 8 * k;
            out += static_cast<char>((cp >> shift) & 0xFF);
        }
    }
    return out;
}

} // namespace

std::string utf8(std::u16string_view text) {
    return toUtf8(text);
}
std::string utf16le(std::u16string_view text) {
    return utf16(text, false);
}
std::string utf16be(std::u16string_view text) {
    return utf16(text, true);
}
std::string utf32le(std::u16string_view text) {
    return utf32(text, false);
}
std::string utf32be(std::u16string_view text) {
    return utf32(text, true);
}

std::u16string repeated(std::u16string_view text, std::size_t count) {
    std::u16string out;
    out.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

} // namespace lanthor::test
