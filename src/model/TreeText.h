#pragma once

#include "TreeTable.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace lanthor {

/// The plain-text tree notations (grammar in docs/formats.md).
enum class TreeTextFormat { Brackets, Penn };

/// Where reading failed: 1-based line and column (column in UTF-16 code units), and what.
struct TreeTextError {
    std::size_t line;
    std::size_t column;
    std::string message;
};

/// Reads tree text into a new table: nodes numbered "0", "1", ... in reading order (pre-order),
/// each tree's top node a root ("R"), children in order, no bold edges. Error: nothing built.
std::variant<std::shared_ptr<TreeTable>, TreeTextError> readTreeText(std::u16string_view text,
                                                                     TreeTextFormat format);

/// Writes every tree that starts at a root of the table (in the table's order); brackets: one tree
/// per line, `indented` puts each child on its own line indented by two spaces per level; Penn:
/// one tree per line. Each node is written once per pass (a node listed twice, or a cycle, is
/// written at its first listing only).
std::u16string writeTreeText(const TreeTable& table, TreeTextFormat format, bool indented = false);

} // namespace lanthor
