#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lanthor {

/// The whole number that `text` is, blanks around it allowed, when it lies from `lowest` to
/// `highest`; none for anything else (a fraction, trailing text, a number out of range).
std::optional<std::int64_t> wholeNumberIn(std::u16string_view text, std::int64_t lowest,
                                          std::int64_t highest);

} // namespace lanthor
