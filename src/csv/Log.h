#pragma once

#include <string>
#include <string_view>

namespace lanthor {

/// Receives the system's log lines, each whole and without its line end, in UTF-8.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void writeLine(std::string_view line) = 0;
};

/// Writes one line to the process's log sink (standard error unless replaced).
void logLine(std::string_view line);
void logLine(std::u16string_view line);

/// Writes out log lines that the standard-error sink still holds.
void flushLog();

/// Replaces the process's log sink; null restores standard error. Returns the previous sink.
LogSink* setLogSink(LogSink* sink);

/// Converts UTF-16 to UTF-8 for log lines and output; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
/// Converts UTF-8 to UTF-16; bytes that are not valid UTF-8 become U+FFFD.
std::u16string toUtf16(std::string_view text);

} // namespace lanthor
