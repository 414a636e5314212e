#include "ReplaceAll.h"

namespace lanthor {

void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    std::size_t position = text.find(from);
    if (from.empty() || position == std::u16string::npos) {
        return;
    }
    std::u16string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    while (position != std::u16string::npos) {
        result.append(text, copied, position - copied);
        result += to;
        copied = position + from.size();
        position = text.find(from, copied);
    }
    result.append(text, copied);
    text = std::move(result);
}

} // namespace lanthor
