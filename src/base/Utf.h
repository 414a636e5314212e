#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lanthor {

/// Why decoding stopped before the end of the bytes it was given.
enum class DecodeStop {
    None,       ///< every byte was decoded
    Incomplete, ///< the bytes end inside a character: more bytes may complete it
    Invalid,    ///< the bytes hold a sequence that is not valid in the encoding
};

struct DecodeResult {
    std::size_t bytesUsed = 0;
    DecodeStop stop = DecodeStop::None;
};

/// Decodes the longest prefix of `bytes` that is well-formed UTF-8 (no overlong forms, no
/// surrogates, nothing above U+10FFFF, every character whole) and appends its UTF-16 code units
/// to `out`. Costs time linear in the bytes.
DecodeResult decodeUtf8Prefix(std::span<const std::uint8_t> bytes, std::u16string& out);

/// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

/// Converts UTF-16 to UTF-8 for log lines and output; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
/// Converts UTF-8 to UTF-16; bytes that are not valid UTF-8 become U+FFFD.
std::u16string toUtf16(std::string_view text);

} // namespace lanthor
