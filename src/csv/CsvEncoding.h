#pragma once

#include "base/Utf.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lanthor {

/// Byte encodings of CSV text, carrying the platform's string-encoding numbers so that stored
/// values and log output stay comparable with other tools of the platform.
enum class CsvEncoding : std::uint64_t {
    Unknown = 0, ///< not known yet: detect it from the bytes
    UTF8 = 4,
    ShiftJIS = 8,
    Unicode = 10, ///< UTF-16 with a byte-order mark: FF FE, then little-endian code units
    UTF16BigEndian = 0x90000100,
    UTF16LittleEndian = 0x94000100,
    UTF32BigEndian = 0x98000100,
    UTF32LittleEndian = 0x9C000100,
    ISO2022KR = 0x80000840,
};

/// The IANA-style name: "UTF-8", "Shift_JIS", "UTF-16", "UTF-16LE", ... ("unknown" for Unknown).
std::string_view encodingName(CsvEncoding encoding);

/// Decodes the longest prefix of `bytes` that is valid in `encoding` (every character whole)
/// and appends its UTF-16 code units to `out`. Costs time linear in the bytes. Decoding starts in
/// the encoding's initial state every time. UTF-16 passes unpaired surrogates through as they are.
DecodeResult decodeLongestPrefix(CsvEncoding encoding, std::span<const std::uint8_t> bytes,
                                 std::u16string& out);

/// Decodes one stream of bytes piece by piece, as decodeLongestPrefix does, except that each call
/// goes on from the state the previous one left: in ISO-2022-KR a shifted run cut by the end of
/// one piece keeps its meaning in the next.
class TextDecoder {
public:
    explicit TextDecoder(CsvEncoding encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    /// Decodes the longest valid prefix of `bytes` and appends its code units to `out`; the
    /// bytes not used must come first in the next call.
    DecodeResult decode(std::span<const std::uint8_t> bytes, std::u16string& out);

private:
    CsvEncoding encoding_;
    void* converter_ = nullptr; ///< the C library's converter, for the encodings it decodes
};

/// Whether the writer and the decoder can handle the encoding.
bool canEncode(CsvEncoding encoding);

/// Converts text to the bytes of `encoding`, without loss: nothing when a character cannot be
/// represented (an unpaired surrogate outside UTF-16, or an encoding the writer does not offer).
/// Unicode (10) puts the mark FF FE in front of every conversion, the empty text included.
std::optional<std::string> encodeText(CsvEncoding encoding, std::u16string_view text);

/// As encodeText, appending to `out`; false, with `out` unchanged, when nothing can be written.
bool appendEncodedText(CsvEncoding encoding, std::u16string_view text, std::string& out);

} // namespace lanthor
