#include "CsvEncoding.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace lanthor {

std::string_view encodingName(CsvEncoding encoding) {
    switch (encoding) {
    case CsvEncoding::UTF8:
        return "UTF-8";
    case CsvEncoding::ShiftJIS:
        return "Shift_JIS";
    case CsvEncoding::Unicode:
        return "UTF-16";
    case CsvEncoding::UTF16BigEndian:
        return "UTF-16BE";
    case CsvEncoding::UTF16LittleEndian:
        return "UTF-16LE";
    case CsvEncoding::UTF32BigEndian:
        return "UTF-32BE";
    case CsvEncoding::UTF32LittleEndian:
        return "UTF-32LE";
    case CsvEncoding::ISO2022KR:
        return "ISO-2022-KR";
    case CsvEncoding::Unknown:
        break;
    }
    return "unknown";
}

namespace {

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

DecodeResult decodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian, std::u16string& out) {
    const std::size_t units = bytes.size() / 2;
    const std::size_t start = out.size();
    out.resize(start + units);
    const std::uint8_t* p = bytes.data();
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint8_t a = p[2 * k], b = p[2 * k + 1];
        out[start + k] =
            bigEndian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
    }
    const std::size_t used = units * 2;
    return {used, used == bytes.size() ? DecodeStop::None : DecodeStop::Incomplete};
}

DecodeResult decodeUtf32(std::span<const std::uint8_t> bytes, bool bigEndian, std::u16string& out) {
    const std::size_t units = bytes.size() / 4;
    const std::uint8_t* p = bytes.data();
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint8_t* q = p + 4 * k;
        const char32_t cp = bigEndian ? (char32_t(q[0]) << 24) | (char32_t(q[1]) << 16) |
                                            (char32_t(q[2]) << 8) | char32_t(q[3])
                                      : (char32_t(q[3]) << 24) | (char32_t(q[2]) << 16) |
                                            (char32_t(q[1]) << 8) | char32_t(q[0]);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return {4 * k, DecodeStop::Invalid};
        }
        appendCodePoint(out, cp);
    }
    const std::size_t used = units * 4;
    return {used, used == bytes.size() ? DecodeStop::None : DecodeStop::Incomplete};
}

/// Legacy encodings go through the C library's converter, which keeps any shift state between
/// calls.
DecodeResult decodeWithIconv(iconv_t cd, std::span<const std::uint8_t> bytes, std::u16string& out) {
    DecodeResult result{0, DecodeStop::None};
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        const std::size_t produced = sizeof buffer - outLeft;
        for (std::size_t k = 0; k + 1 < produced; k += 2) {
            out.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(buffer[k]) |
                                                (static_cast<std::uint8_t>(buffer[k + 1]) << 8)));
        }
        if (error == E2BIG) {
            continue;
        }
        if (error == EINVAL) {
            result.stop = DecodeStop::Incomplete;
        } else if (error != 0) {
            result.stop = DecodeStop::Invalid;
        }
        break;
    }
    result.bytesUsed = bytes.size() - inLeft;
    return result;
}

// Apple's Shift JIS is the Windows code page: ASCII stays ASCII (0x5C is the backslash).
constexpr const char* kShiftJisCharset = "CP932";
constexpr const char* kIso2022KrCharset = "ISO-2022-KR";

/// The C library's name for an encoding it decodes for us; null for the ones decoded here.
const char* iconvCharset(CsvEncoding encoding) {
    switch (encoding) {
    case CsvEncoding::ShiftJIS:
        return kShiftJisCharset;
    case CsvEncoding::ISO2022KR:
        return kIso2022KrCharset;
    default:
        return nullptr;
    }
}

iconv_t openConverter(const char* charset) {
    return iconv_open("UTF-16LE", charset);
}
bool isOpen(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1);
}

void appendUtf16(std::string& out, char16_t unit, bool bigEndian) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
}

void appendUtf32(std::string& out, char32_t cp, bool bigEndian) {
    char bytes[4] = {static_cast<char>(cp >> 24), static_cast<char>((cp >> 16) & 0xFF),
                     static_cast<char>((cp >> 8) & 0xFF), static_cast<char>(cp & 0xFF)};
    if (bigEndian) {
        out.append(bytes, 4);
    } else {
        out.append({bytes[3], bytes[2], bytes[1], bytes[0]});
    }
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

/// Visits the code points of the text; false when it holds an unpaired surrogate.
template <typename Visit> bool forEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            return false;
        } else {
            visit(char32_t(c));
        }
    }
    return true;
}

} // namespace

DecodeResult decodeLongestPrefix(CsvEncoding encoding, std::span<const std::uint8_t> bytes,
                                 std::u16string& out) {
    switch (encoding) {
    case CsvEncoding::UTF8:
        return decodeUtf8Prefix(bytes, out);
    case CsvEncoding::Unicode:
    case CsvEncoding::UTF16LittleEndian:
        return decodeUtf16(bytes, false, out);
    case CsvEncoding::UTF16BigEndian:
        return decodeUtf16(bytes, true, out);
    case CsvEncoding::UTF32LittleEndian:
        return decodeUtf32(bytes, false, out);
    case CsvEncoding::UTF32BigEndian:
        return decodeUtf32(bytes, true, out);
    case CsvEncoding::ShiftJIS:
    case CsvEncoding::ISO2022KR: {
        const iconv_t cd = openConverter(iconvCharset(encoding));
        if (!isOpen(cd)) {
            break;
        }
        const DecodeResult result = decodeWithIconv(cd, bytes, out);
        iconv_close(cd);
        return result;
    }
    case CsvEncoding::Unknown:
        break;
    }
    return {0, bytes.empty() ? DecodeStop::None : DecodeStop::Invalid};
}

TextDecoder::TextDecoder(CsvEncoding encoding) : encoding_(encoding) {
    if (const char* charset = iconvCharset(encoding)) {
        const iconv_t cd = openConverter(charset);
        if (isOpen(cd)) {
            converter_ = cd;
        }
    }
}

TextDecoder::~TextDecoder() {
    if (converter_) {
        iconv_close(static_cast<iconv_t>(converter_));
    }
}

DecodeResult TextDecoder::decode(std::span<const std::uint8_t> bytes, std::u16string& out) {
    if (converter_) {
        return decodeWithIconv(static_cast<iconv_t>(converter_), bytes, out);
    }
    // The encodings decoded here carry no state from one character to the next.
    return decodeLongestPrefix(encoding_, bytes, out);
}

bool canEncode(CsvEncoding encoding) {
    switch (encoding) {
    case CsvEncoding::UTF8:
    case CsvEncoding::Unicode:
    case CsvEncoding::UTF16BigEndian:
    case CsvEncoding::UTF16LittleEndian:
    case CsvEncoding::UTF32BigEndian:
    case CsvEncoding::UTF32LittleEndian:
        return true;
    default:
        return false;
    }
}

std::optional<std::string> encodeText(CsvEncoding encoding, std::u16string_view text) {
    std::string out;
    if (!appendEncodedText(encoding, text, out)) {
        return std::nullopt;
    }
    return out;
}

bool appendEncodedText(CsvEncoding encoding, std::u16string_view text, std::string& out) {
    const std::size_t originalSize = out.size();
    bool ok = true;
    switch (encoding) {
    case CsvEncoding::UTF8:
        ok = forEachCodePoint(text, [&out](char32_t cp) { appendUtf8(out, cp); });
        break;
    case CsvEncoding::Unicode:
        out.append("\xFF\xFE", 2);
        [[fallthrough]];
    case CsvEncoding::UTF16LittleEndian:
    case CsvEncoding::UTF16BigEndian:
        out.reserve(out.size() + 2 * text.size());
        for (const char16_t unit : text) {
            appendUtf16(out, unit, encoding == CsvEncoding::UTF16BigEndian);
        }
        break;
    case CsvEncoding::UTF32LittleEndian:
    case CsvEncoding::UTF32BigEndian: {
        const bool bigEndian = encoding == CsvEncoding::UTF32BigEndian;
        ok = forEachCodePoint(text,
                              [&out, bigEndian](char32_t cp) { appendUtf32(out, cp, bigEndian); });
        break;
    }
    default:
        ok = false;
        break;
    }
    if (!ok) {
        out.resize(originalSize);
    }
    return ok;
}

} // namespace lanthor
