#include "Log.h"

#include "CsvEncoding.h"

#include <cstdio>
#include <span>

namespace lanthor {

namespace {

class StandardErrorSink final : public LogSink {
public:
    void writeLine(std::string_view line) override {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
};

StandardErrorSink standardError;
LogSink* currentSink = &standardError;

} // namespace

void logLine(std::string_view line) {
    currentSink->writeLine(line);
}

void logLine(std::u16string_view line) {
    logLine(toUtf8(line));
}

LogSink* setLogSink(LogSink* sink) {
    LogSink* previous = currentSink;
    currentSink = sink ? sink : &standardError;
    return previous == &standardError ? nullptr : previous;
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
        const DecodeResult result = decodeLongestPrefix(CsvEncoding::UTF8, bytes, out);
        bytes = bytes.subspan(result.bytesUsed);
        if (!bytes.empty()) {
            out.push_back(u'\uFFFD');
            bytes = bytes.subspan(1);
        }
    }
    return out;
}

} // namespace lanthor
