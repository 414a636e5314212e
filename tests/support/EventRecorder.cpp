#include "support/EventRecorder.h"

#include "base/Log.h"

namespace lanthor::test {

void EventRecorder::parserDidBeginDocument(CsvParser&) {
    events.push_back("beginDocument");
}

void EventRecorder::parserDidEndDocument(CsvParser&) {
    events.push_back("endDocument");
}

void EventRecorder::parserDidBeginLine(CsvParser&, std::uint64_t record) {
    events.push_back("beginLine " + std::to_string(record));
}

void EventRecorder::parserDidEndLine(CsvParser& parser, std::uint64_t record) {
    events.push_back("endLine " + std::to_string(record));
    if (onEndLine) {
        onEndLine(parser, record);
    }
}

void EventRecorder::parserDidReadField(CsvParser& parser, const std::u16string& field,
                                       std::int64_t index) {
    events.push_back("field " + std::to_string(index) + " [" + toUtf8(field) + "]");
    if (onField) {
        onField(parser, field, index);
    }
}

void EventRecorder::parserDidReadComment(CsvParser&, const std::u16string& comment) {
    events.push_back("comment [" + toUtf8(comment) + "]");
}

void EventRecorder::parserDidFailWithError(CsvParser&, const CsvError& failure) {
    events.push_back("error " + std::to_string(failure.code) + " " + toUtf8(failure.message));
    error = failure;
}

std::vector<std::string> parseEvents(std::u16string_view csv, CsvParserOptions options,
                                     char16_t delimiter) {
    EventRecorder recorder;
    CsvParser parser = CsvParser::fromString(csv, delimiter);
    parser.setOptions(options);
    parser.setDelegate(&recorder);
    parser.parse();
    return recorder.events;
}

} // namespace lanthor::test
