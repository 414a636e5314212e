#pragma once

#include <string_view>

namespace lanthor {

/// Calls `visit` with every non-empty piece of `text` between single spaces, in order: how the
/// children and attributes fields of a node row are split.
template <typename Visit> void forEachSpaceSeparated(std::u16string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t space = text.find(u' ');
        if (space != 0) {
            visit(text.substr(0, space));
        }
        if (space == std::u16string_view::npos) {
            return;
        }
        text.remove_prefix(space + 1);
    }
}

} // namespace lanthor
