#include "CsvAggregator.h"

namespace lanthor {

void CsvAggregator::parserDidBeginDocument(CsvParser&) {
    lines_.emplace();
}

void CsvAggregator::parserDidBeginLine(CsvParser&, std::uint64_t) {
    currentLine_.emplace();
}

void CsvAggregator::parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t) {
    if (currentLine_) {
        currentLine_->push_back(field);
    }
}

void CsvAggregator::parserDidEndLine(CsvParser&, std::uint64_t) {
    if (lines_ && currentLine_) {
        lines_->push_back(std::move(*currentLine_));
    }
    currentLine_.reset();
}

void CsvAggregator::parserDidFailWithError(CsvParser&, const CsvError& error) {
    error_ = error;
    lines_.reset();
}

} // namespace lanthor
