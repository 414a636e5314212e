#pragma once

#include "csv/Log.h"

#include <string>
#include <vector>

namespace lanthor::test {

/// Collects the log lines written while it lives.
class LogCapture final : public LogSink {
public:
    LogCapture() : previous_(setLogSink(this)) {}
    ~LogCapture() override { setLogSink(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void writeLine(std::string_view line) override { lines.emplace_back(line); }

    std::vector<std::string> lines;

private:
    LogSink* previous_;
};

} // namespace lanthor::test
