#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lanthor {

/// Whole lines for a C stream, collected and written in large pieces: commands on big trees
/// write a line per node, and a write per line would cost more than making them.
class BufferedWriter {
public:
    explicit BufferedWriter(std::FILE* stream) : stream_(stream) {}
    ~BufferedWriter() { flush(); }
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    /// The line being built; `endLine` finishes it.
    std::string& line() { return buffer_; }
    void endLine() {
        buffer_ += '\n';
        if (buffer_.size() >= kFlushSize) {
            flush();
        }
    }
    void writeLine(std::string_view text) {
        buffer_ += text;
        endLine();
    }
    /// Writes out what is held.
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stream_);
        std::fflush(stream_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;

    std::FILE* stream_;
    std::string buffer_;
};

} // namespace lanthor
