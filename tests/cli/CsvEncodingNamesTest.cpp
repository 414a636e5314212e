#include "qtsupport/RunLanthor.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {

namespace {

// tests/golden shows UTF-8 and Shift_JIS in whole runs; these are the other names.
TEST(CsvCommand, TheSummaryNamesTheEncodingThatTheMarkOrEscapeGave) {
    const std::pair<std::string, std::string> inputs[] = {
        {"\xFF\xFE"
         "a\0"s,
         "UTF-16LE"},
        {"\xFE\xFF\0a"s, "UTF-16BE"},
        {"\xFF\xFE\0\0a\0\0\0"s, "UTF-32LE"},
        {"\0\0\xFE\xFF\0\0\0a"s, "UTF-32BE"},
        {"\x1B$)Ca"s, "ISO-2022-KR"},
    };
    const std::string events = R"({"event":"beginDocument"}
{"event":"beginLine","record":1}
{"event":"field","index":0,"text":"a"}
{"event":"endLine","record":1}
{"event":"endDocument"}
)";
    for (const auto& [bytes, name] : inputs) {
        const CommandResult run = runLanthor({{"csv", "--events", "-"}, "", bytes});
        EXPECT_EQ(run.out, events + R"({"event":"summary","encoding":")" + name +
                               R"(","totalBytesRead":)" + std::to_string(bytes.size()) + "}\n");
        EXPECT_EQ(run.err, "");
    }
}

} // namespace

} // namespace lanthor::test
