#pragma once

#include <memory>
#include <string>
#include <variant>

class QMimeData;

namespace lanthor {

class LanthorConfiguration;
class TextSystem;
class TreeTable;

/// The clipboard type of trees copied in Lanthor: the tree file's bytes, which keep what the
/// text formats leave out (bold edges).
inline constexpr char kTreeFileMimeType[] = "application/x-lanthor-tree";

/// What a copy of `trees` puts on the clipboard: their picture, drawn as a window with
/// `configuration` draws it, as image/png (also as an image) and image/svg+xml; their labelled
/// brackets, one tree to a line, as text/plain; and their tree file as kTreeFileMimeType.
/// `notice` says why the picture or its PNG is missing, and is empty otherwise. Needs a
/// GuiSession. A million nodes take seconds, most of them laying the copy out and writing its
/// SVG.
std::unique_ptr<QMimeData> treeMimeData(std::shared_ptr<TreeTable> trees,
                                        const LanthorConfiguration& configuration,
                                        const TextSystem& textSystem, std::string& notice);

/// True when `data` may hold trees to paste: it has the tree file's type or text.
bool mayHoldTrees(const QMimeData& data);

/// The trees that `data` holds: its tree file when that loads, else its text read as labelled
/// brackets, else as Penn Treebank text. Or why it holds none: where its text stops reading as
/// labelled brackets, as "line:column message".
std::variant<std::shared_ptr<TreeTable>, std::string> treesOfMimeData(const QMimeData& data);

} // namespace lanthor
