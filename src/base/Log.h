#pragma once

#include "base/Utf.h"

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

} // namespace lanthor
