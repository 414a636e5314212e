#include "Utf.h"

#include <cstring>

namespace lanthor {

namespace {

bool isContinuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

DecodeResult decodeUtf8Prefix(std::span<const std::uint8_t> bytes, std::u16string& out) {
    const std::uint8_t* p = bytes.data();
    const std::size_t n = bytes.size();
    // n bytes never make more than n code units: size the output once, write through a pointer
    // and trim at the end.
    const std::size_t start = out.size();
    out.resize(start + n);
    char16_t* const begin = out.data() + start;
    char16_t* o = begin;
    const auto finish = [&](std::size_t used, DecodeStop stop) {
        out.resize(start + static_cast<std::size_t>(o - begin));
        return DecodeResult{used, stop};
    };
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII are the common case: widen them sixteen bytes at a time.
        while (i + 16 <= n) {
            std::uint64_t first, second;
            std::memcpy(&first, p + i, 8);
            std::memcpy(&second, p + i + 8, 8);
            if ((first | second) & 0x8080808080808080ULL) {
                break;
            }
            for (int k = 0; k < 16; ++k) {
                o[k] = p[i + k];
            }
            o += 16;
            i += 16;
        }
        if (i >= n) {
            break;
        }
        const std::uint8_t b0 = p[i];
        if (b0 < 0x80) {
            *o++ = b0;
            ++i;
            continue;
        }
        std::size_t length;
        char32_t cp;
        std::uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            cp = b0 & 0x0F;
            if (b0 == 0xE0) {
                low = 0xA0; // no overlong forms
            } else if (b0 == 0xED) {
                high = 0x9F; // no surrogates
            }
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            cp = b0 & 0x07;
            if (b0 == 0xF0) {
                low = 0x90;
            } else if (b0 == 0xF4) {
                high = 0x8F; // nothing above U+10FFFF
            }
        } else {
            return finish(i, DecodeStop::Invalid);
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= n) {
                return finish(i, DecodeStop::Incomplete);
            }
            const std::uint8_t b = p[i + k];
            const bool ok = k == 1 ? (b >= low && b <= high) : isContinuation(b);
            if (!ok) {
                return finish(i, DecodeStop::Invalid);
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < 0x10000) {
            *o++ = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
        i += length;
    }
    return finish(n, DecodeStop::None);
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    while (!bytes.empty()) {
        const DecodeResult result = decodeUtf8Prefix(bytes, out);
        bytes = bytes.subspan(result.bytesUsed);
        if (!bytes.empty()) {
            out.push_back(u'\uFFFD');
            bytes = bytes.subspan(1);
        }
    }
    return out;
}

} // namespace lanthor
