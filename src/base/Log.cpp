#include "Log.h"

#include "BufferedWriter.h"

#include <cstdio>

namespace lanthor {

namespace {

/// Standard error, written in large pieces.
class StandardErrorSink final : public LogSink {
public:
    void writeLine(std::string_view line) override { writer_.writeLine(line); }
    void flush() { writer_.flush(); }

private:
    BufferedWriter writer_{stderr};
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

} // namespace lanthor
