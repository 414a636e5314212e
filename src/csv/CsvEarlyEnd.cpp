#include "CsvEarlyEnd.h"

namespace lanthor {

std::string CsvEarlyEnd::message() const {
    switch (reason) {
    case Reason::UndecodableBytes:
        return "the bytes from offset " + std::to_string(byteOffset) + " are not valid " +
               std::string(encodingName(encoding)) + " (record " + std::to_string(record) + ")";
    case Reason::NulCharacter:
        return "a U+0000 character ends the text in record " + std::to_string(record);
    case Reason::OpenQuotedField:
        return "a quoted field in record " + std::to_string(record) + " is never closed";
    }
    return {};
}

} // namespace lanthor
