#pragma once

#include "CsvError.h"

#include <cstdint>
#include <string>

namespace lanthor {

class CsvParser;

/// Receives the parser's events as they happen. Every method is optional: the defaults do
/// nothing. Records count from 1, field indexes from 0 in every record. Strings passed by
/// reference live only for the call; copy what you keep.
class CsvParserDelegate {
public:
    virtual ~CsvParserDelegate() = default;
    virtual void parserDidBeginDocument(CsvParser& /*parser*/) {}
    virtual void parserDidEndDocument(CsvParser& /*parser*/) {}
    virtual void parserDidBeginLine(CsvParser& /*parser*/, std::uint64_t /*record*/) {}
    virtual void parserDidEndLine(CsvParser& /*parser*/, std::uint64_t /*record*/) {}
    virtual void parserDidReadField(CsvParser& /*parser*/, const std::u16string& /*field*/,
                                    std::int64_t /*index*/) {}
    virtual void parserDidReadComment(CsvParser& /*parser*/, const std::u16string& /*comment*/) {}
    virtual void parserDidFailWithError(CsvParser& /*parser*/, const CsvError& /*error*/) {}
};

} // namespace lanthor
