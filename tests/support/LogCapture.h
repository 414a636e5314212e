#pragma once

#include "base/Log.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lanthor::test {

/// Collects the log lines written while it exists, instead of standard error.
class LogCapture final : public LogSink {
public:
    LogCapture() : previous_(setLogSink(this)) {}
    ~LogCapture() override { setLogSink(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void writeLine(std::string_view line) override { lines_.emplace_back(line); }
    const std::vector<std::string>& lines() const { return lines_; }
    /// Returns the lines so far and forgets them.
    std::vector<std::string> take() { return std::exchange(lines_, {}); }

private:
    LogSink* previous_;
    std::vector<std::string> lines_;
};

} // namespace lanthor::test
