#pragma once

#include "CsvEncoding.h"

#include <cstdint>
#include <string>

namespace lanthor {

/// How the decoded text ended before the input did. The parser's events are the same either
/// way; readers that must not take a shortened text for the whole use this to refuse it.
struct CsvEarlyEnd {
    enum class Reason {
        UndecodableBytes, ///< bytes that the encoding cannot decode stopped the text
        NulCharacter,     ///< a U+0000 character, which reads as the end of the text
        OpenQuotedField,  ///< the text ended inside a quoted field, which was dropped
    };
    Reason reason;
    std::uint64_t byteOffset = 0; ///< for undecodable bytes: bytes decoded before them
    std::uint64_t record = 0;     ///< the record in which the text ended
    CsvEncoding encoding = CsvEncoding::Unknown;

    /// One line that says what happened and where.
    std::string message() const;
};

} // namespace lanthor
