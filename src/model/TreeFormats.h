#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lanthor {

class TreeTable;

/// The formats a tree is written in: the tree file, the two text notations, and LaTeX (written
/// only). See docs/formats.md.
enum class TreeFormat { Csv, Brackets, Penn, Forest, Qtree };

/// The format of a name given on the command line: csv, brackets, ptb, forest or qtree.
std::optional<TreeFormat> treeFormatNamed(std::string_view name);
/// The format that a file's extension names (any letter case): .csv; .brackets or .bracket;
/// .ptb, .mrg or .penn; .tex or .forest; .qtree.
std::optional<TreeFormat> treeFormatOfPath(std::string_view path);

/// The bytes of the table's trees in `format`, as a file of that format holds them: the tree
/// file as the editor saves it, text and LaTeX in UTF-8 (`standalone`: a whole LaTeX document).
std::string treeFormatBytes(const TreeTable& table, TreeFormat format, bool standalone = false);

/// Tree text from a file's bytes: UTF-8, or UTF-16 after its byte-order mark (a UTF-8 mark is
/// dropped). Bytes that are not UTF-8 give the reason, with their offset, instead.
std::variant<std::u16string, std::string> decodeTreeText(std::string_view bytes);

} // namespace lanthor
