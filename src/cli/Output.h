#pragma once

#include <cstdio>
#include <string>

namespace lanthor {

/// Standard output for NDJSON lines, written in large pieces.
class Output {
public:
    ~Output() { flush(); }
    /// The line being built; `endLine` finishes it.
    std::string& line() { return buffer_; }
    void endLine() {
        buffer_ += '\n';
        if (buffer_.size() >= (1 << 16)) {
            flush();
        }
    }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        std::fflush(stdout);
        buffer_.clear();
    }

private:
    std::string buffer_;
};

/// Writes "lanthor: <message>" as one line on standard error.
void printError(const std::string& message);

} // namespace lanthor
