#pragma once

#include <string>

namespace lanthor {

class TreeTable;

/// The LaTeX packages a tree can be written for.
enum class LatexPackage { Forest, Qtree };

/// Every tree that starts at a root of the table (in the table's order) as LaTeX for `package`:
/// one forest environment or one \Tree each, or, with `standalone`, a whole document that
/// pdflatex compiles. Node texts keep their markup as \textbf, \textit, \textsubscript,
/// \textsuperscript and line breaks (each line centred); the characters TeX treats
/// specially are escaped, and a bold edge is drawn very thick. Each node is written once, where
/// it is first reached; the walk uses no recursion. UTF-8.
std::string writeLatex(const TreeTable& table, LatexPackage package, bool standalone);

} // namespace lanthor
