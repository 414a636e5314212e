#include "Log.h"

#include "CsvEncoding.h"

#include <cstdio>
#include <span>

namespace lanthor {

namespace {

/// Collects lines and writes them in large pieces: commands on big trees log a line per node.
class StandardErrorSink final : public LogSink {
public:
    ~StandardErrorSink() override { flush(); }
    void writeLine(std::string_view line) override {
        buffer_ += line;
        buffer_ += '\n';
        if (buffer_.size() >= (1 << 16)) {
            flush();
        }
    }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stderr);
        std::fflush(stderr);
        buffer_.clear();
    }

private:
    std::string buffer_;
};

StandardErrorSink standardError;
LogSink* currentSink = &standardError;

} // namespace

void logLine(std::string_view line) {
    currentSink->writeLine(line);
}

void flushLog() {
    standardError.flush();
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
