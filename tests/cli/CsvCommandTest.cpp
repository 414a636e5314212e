#include "support/Bytes.h"
#include "support/RunLanthor.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lanthor::test {
namespace {

TEST(CsvCommand, PrintsTheReadersRowsAsJsonArrays) {
    const TempDir dir;
    const std::string file = dir.write("rows.csv", "a,\"b,c\",\"d\"\"e\"\n\n1,,\\x\n");
    CommandResult result = runLanthor({"csv", file});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "[\"a\",\"\\\"b,c\\\"\",\"\\\"d\\\"\\\"e\\\"\"]\n[\"1\",\"\",\"\\\\x\"]\n[\"\"]\n");
    EXPECT_EQ(result.err, "");

    result = runLanthor({"csv", "--options", "2", file});
    EXPECT_EQ(result.out, "[\"a\",\"b,c\",\"d\\\"e\"]\n[\"1\",\"\",\"\\\\x\"]\n[\"\"]\n");
    // Bits above 8 are ignored.
    EXPECT_EQ(runLanthor({"csv", file, "--options", "18"}).out, result.out);
}

TEST(CsvCommand, EscapesJsonStringsExactly) {
    const TempDir dir;
    const std::u16string text =
        u"\"\b\f\n\r\t\x01\x1F\u2028\",\u00E9\u20AC\U0001F600,\xD800x\xDC00,\x7F";
    const CommandResult result =
        runLanthor({"csv", "--options", "2", dir.write("escapes.csv", "\xFF\xFE" + utf16le(text))});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "[\"\\b\\f\\n\\r\\t\\u0001\\u001f\u2028\",\"\u00E9\u20AC\U0001F600\","
                          "\"\\ud800x\\udc00\",\"\x7F\"]\n"s);
}

TEST(CsvCommand, EventsArePrintedAsTheyHappenThenASummary) {
    const TempDir dir;
    const std::string file = dir.write("events.csv", "\xEF\xBB\xBF#note\na,b\n");
    const CommandResult result = runLanthor({"csv", "--events", "--options", "4", file});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(linesOf(result.out),
              (std::vector<std::string>{
                  R"({"event":"beginDocument"})",
                  R"({"event":"comment","text":"note"})",
                  R"({"event":"beginLine","record":1})",
                  R"({"event":"field","index":0,"text":"a"})",
                  R"({"event":"field","index":1,"text":"b"})",
                  R"({"event":"endLine","record":1})",
                  R"({"event":"beginLine","record":2})",
                  R"({"event":"field","index":0,"text":""})",
                  R"({"event":"endLine","record":2})",
                  R"({"event":"endDocument"})",
                  R"({"event":"summary","encoding":"UTF-8","totalBytesRead":13})",
              }));
    EXPECT_EQ(result.err, "");
}

TEST(CsvCommand, AParseErrorExitsWithOne) {
    const TempDir dir;
    const std::string file = dir.write("error.csv", "a,b\nc,\"d\"e,f\n");
    CommandResult result = runLanthor({"csv", file});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(linesOf(result.err),
              std::vector<std::string>{"lanthor: " + file +
                                       ": record 2: Unexpected delimiter. Expected ',' (0x2C), "
                                       "but got 'e' (0x65)"});

    result = runLanthor({"csv", "--events", file});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(
        linesOf(result.out),
        (std::vector<std::string>{
            R"({"event":"beginDocument"})",
            R"({"event":"beginLine","record":1})",
            R"({"event":"field","index":0,"text":"a"})",
            R"({"event":"field","index":1,"text":"b"})",
            R"({"event":"endLine","record":1})",
            R"({"event":"beginLine","record":2})",
            R"({"event":"field","index":0,"text":"c"})",
            R"({"event":"field","index":1,"text":"\"d\""})",
            R"({"event":"endLine","record":2})",
            R"x({"event":"error","code":1,"message":"Unexpected delimiter. Expected ',' (0x2C), but got 'e' (0x65)"})x",
            R"({"event":"summary","encoding":"UTF-8","totalBytesRead":13})",
        }));
    EXPECT_EQ(linesOf(result.err).size(), 1u);
}

TEST(CsvCommand, SummaryNamesTheDetectedEncodingAndLogLinesGoToStandardError) {
    const TempDir dir;
    const struct {
        std::string bytes;
        std::string name;
    } cases[] = {
        {"\xFF\xFE" + utf16le(u"a"), "UTF-16LE"},
        {"\xFE\xFF" + utf16be(u"a"), "UTF-16BE"},
        {"\xFF\xFE\x00\x00"s + utf32le(u"a"), "UTF-32LE"},
        {"\x00\x00\xFE\xFF"s + utf32be(u"a"), "UTF-32BE"},
        {"\x1B\x24\x29\x43"s + "a", "ISO-2022-KR"},
        {"a", "UTF-8"},
    };
    for (const auto& c : cases) {
        const CommandResult result = runLanthor({"csv", "--events", dir.write("enc.csv", c.bytes)});
        EXPECT_EQ(linesOf(result.out).back(), R"({"event":"summary","encoding":")" + c.name +
                                                  R"(","totalBytesRead":)" +
                                                  std::to_string(c.bytes.size()) + "}");
        EXPECT_EQ(result.err, "");
    }

    const std::string latin1 = dir.write("latin1.csv", "CAF\xC9,\xDC"
                                                       "BER\n");
    CommandResult result = runLanthor({"csv", latin1});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "[\"CAF\uFF89\",\"\uFF9CBER\"]\n[\"\"]\n"s);
    EXPECT_EQ(result.err, "unable to determine stream encoding; assuming ShiftJIS\n");
    result = runLanthor({"csv", "--events", latin1});
    EXPECT_EQ(linesOf(result.out).back(),
              R"({"event":"summary","encoding":"Shift_JIS","totalBytesRead":10})");
}

TEST(CsvCommand, ReadsStandardInputAndTakesOtherDelimiters) {
    CommandResult result = runLanthor({"csv", "-"}, "x;y,z\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "[\"x;y\",\"z\"]\n[\"\"]\n");
    EXPECT_EQ(runLanthor({"csv", "--delimiter", ";", "-"}, "x;y,z").out, "[\"x\",\"y,z\"]\n");
    result = runLanthor({"csv", "-"}, "a\n\"b\"c");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "lanthor: standard input: record 2: Unexpected delimiter. Expected ',' "
                          "(0x2C), but got 'c' (0x63)\n");
    EXPECT_EQ(runLanthor({"csv", "--delimiter", "tab", "-"}, "x\ty").out, "[\"x\",\"y\"]\n");
    EXPECT_EQ(runLanthor({"csv", "--delimiter", "\\t", "-"}, "x\ty").out, "[\"x\",\"y\"]\n");
    EXPECT_EQ(runLanthor({"csv", "--delimiter", "\u00A7", "-"}, "x\u00A7y").out, "[\"x\",\"y\"]\n");
}

TEST(CsvCommand, AFileThatCannotBeReadExitsWithOne) {
    const TempDir dir;
    for (const std::string& path : {dir.file("missing.csv"), dir.path().string()}) {
        const CommandResult result = runLanthor({"csv", "--events", path});
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.out, "");
        const std::vector<std::string> lines = linesOf(result.err);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("lanthor: cannot read " + path + ": ")) << lines[0];
    }
}

TEST(CsvCommand, BadUsageExitsWithTwoAndShowsUsage) {
    const TempDir dir;
    const std::string file = dir.write("a.csv", "a");
    const std::vector<std::vector<std::string>> misuses{
        {"csv"},
        {"csv", file, file},
        {"csv", "--options"},
        {"csv", "--options", "x", file},
        {"csv", "--options", "-1", file},
        {"csv", "--delimiter", "ab", file},
        {"csv", "--delimiter", "\"", file},
        {"csv", "--delimiter", "#", "--options", "4", file},
        {"csv", "--color", file},
    };
    for (const std::vector<std::string>& args : misuses) {
        const CommandResult result = runLanthor(args);
        EXPECT_EQ(result.exitStatus, 2) << args.back();
        EXPECT_EQ(result.out, "");
        const std::vector<std::string> lines = linesOf(result.err);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_TRUE(lines[0].starts_with("lanthor: ")) << lines[0];
        EXPECT_TRUE(lines[1].starts_with("usage: lanthor")) << lines[1];
    }
    EXPECT_EQ(linesOf(runLanthor({"csv", "--delimiter", "\"", file}).err)[0],
              "lanthor: the delimiter U+0022 cannot be used: the double quote encloses fields");
}

} // namespace
} // namespace lanthor::test
