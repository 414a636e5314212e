#pragma once

#include <string>
#include <string_view>

namespace lanthor {

/// Replaces every non-overlapping occurrence of `from` in `text`, left to right, in one pass.
void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);

} // namespace lanthor
