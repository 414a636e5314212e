// Feeds arbitrary bytes to the CSV parser, with encoding detection, under every option value and
// three delimiters, and stops at the first broken invariant so that libFuzzer keeps the input.

#include "CsvParserInvariants.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string violation = lanthor::csvParserInvariantViolation(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (!violation.empty()) {
        std::fprintf(stderr, "CSV parser invariant broken: %s\n", violation.c_str());
        std::abort();
    }
    return 0;
}
