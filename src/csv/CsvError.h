#pragma once

#include <string>

namespace lanthor {

/// An error reported by the CSV parser: a domain, a code and a readable message.
struct CsvError {
    std::string domain;
    int code = 0;
    std::u16string message;
};

} // namespace lanthor
