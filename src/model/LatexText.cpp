#include "LatexText.h"

#include "MarkupRuns.h"
#include "TreeTable.h"
#include "TreeTextParts.h"
#include "base/Utf.h"

#include <string_view>

namespace lanthor {

namespace {

/// The character references that the label markup shows as their characters.
constexpr std::pair<std::u16string_view, char16_t> kReferences[] = {
    {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}};

/// Plain text with TeX's special characters escaped; the references above read as characters.
void appendEscaped(std::string& out, std::u16string_view text) {
    std::u16string decoded;
    for (std::size_t at = 0; at < text.size(); ++at) {
        bool referenced = false;
        for (const auto& [reference, character] : kReferences) {
            if (text.substr(at, reference.size()) == reference) {
                decoded += character;
                at += reference.size() - 1;
                referenced = true;
                break;
            }
        }
        if (!referenced) {
            decoded += text[at];
        }
    }
    for (const char c : toUtf8(decoded)) {
        switch (c) {
        case '\\':
            out += "\\textbackslash{}";
            break;
        case '{':
        case '}':
        case '#':
        case '$':
        case '%':
        case '&':
        case '_':
            out += '\\';
            out += c;
            break;
        case '^':
            out += "\\textasciicircum{}";
            break;
        case '~':
            out += "\\textasciitilde{}";
            break;
        case '<':
            out += "\\textless{}";
            break;
        case '>':
            out += "\\textgreater{}";
            break;
        case '|':
            out += "\\textbar{}";
            break;
        case '\n':
        case '\r':
        case '\t':
            out += ' ';
            break;
        default:
            out += c;
        }
    }
}

/// A node's text as TeX: each run of the markup in the commands for its style.
std::string latexText(std::u16string_view text, bool* hasLineBreak) {
    std::string out;
    for (const MarkupRun& run : markupRuns(text)) {
        if (run.kind == MarkupRun::LineBreak) {
            out += "\\\\";
            *hasLineBreak = true;
            continue;
        }
        std::string closing;
        const auto open = [&](const char* command) {
            out += command;
            out += '{';
            closing += '}';
        };
        if (run.style.bold) {
            open("\\textbf");
        }
        if (run.style.italic) {
            open("\\textit");
        }
        if (run.style.vertical == MarkupElement::Subscript) {
            open("\\textsubscript");
        } else if (run.style.vertical == MarkupElement::Superscript) {
            open("\\textsuperscript");
        }
        appendEscaped(out, run.text);
        out += closing;
    }
    return out;
}

/// Remembers which nodes on the walk's path have a roof: both packages draw a roof above the
/// child, so a roofed node's children carry it.
class RoofPath {
public:
    /// Notes `node` at `depth`; true when its parent has a roof.
    bool enter(const Tree& node, std::size_t depth) {
        roofed_.resize(depth + 1);
        roofed_[depth] = node.attributes().has(NodeAttributes::kRoof);
        return depth > 0 && roofed_[depth - 1];
    }

private:
    std::vector<bool> roofed_;
};

/// Writes each tree for forest: one node a line, indented by depth; a leaf closed on its line.
class ForestWriter final : public treetext::TreeVisitor {
public:
    std::string out;
    bool usesRoof = false; ///< forest draws roofs with its linguistics library

    void enter(const Tree& node, std::size_t depth, std::size_t childCount) override {
        const bool underRoof = roofs_.enter(node, depth);
        if (depth == 0) {
            out += "\\begin{forest}\n";
        }
        bool lines = false;
        const std::string text = latexText(node.nodeValue(), &lines);
        out.append(2 * depth, ' ');
        out += "[{" + text + "}";
        if (lines) {
            out += ", align=center";
        }
        if (underRoof) {
            out += ", roof";
            usesRoof = true;
        }
        if (depth > 0 && node.head()) {
            out += ", edge={very thick}";
        }
        if (childCount == 0) {
            close(depth, false);
        } else {
            out += '\n';
        }
    }
    void leave(const Tree&, std::size_t depth) override { close(depth, true); }

private:
    RoofPath roofs_;

    void close(std::size_t depth, bool ownLine) {
        if (ownLine) {
            out.append(2 * depth, ' ');
        }
        out += "]\n";
        if (depth == 0) {
            out += "\\end{forest}\n";
        }
    }
};

/// Writes each tree for tikz-qtree, one \Tree a line: `[.label children ]`, a leaf as its label.
class QtreeWriter final : public treetext::TreeVisitor {
public:
    std::string out;

    void enter(const Tree& node, std::size_t depth, std::size_t childCount) override {
        const bool underRoof = roofs_.enter(node, depth);
        out += depth == 0 ? "\\Tree " : " ";
        const bool bold = depth > 0 && node.head();
        if (underRoof || bold) {
            out += underRoof && bold ? "\\edge[roof, very thick]; "
                   : underRoof       ? "\\edge[roof]; "
                                     : "\\edge[very thick]; ";
        }
        bool lines = false;
        const std::string text = latexText(node.nodeValue(), &lines);
        // tikz-qtree takes no node options in a leaf: a stack keeps the lines centred.
        const std::string label = lines ? "{\\shortstack{" + text + "}}" : "{" + text + "}";
        if (depth > 0 && childCount == 0) {
            out += label;
            return;
        }
        out += "[." + label;
        if (childCount == 0) {
            leave(node, depth);
        }
    }
    void leave(const Tree&, std::size_t depth) override { out += depth == 0 ? " ]\n" : " ]"; }

private:
    RoofPath roofs_;
};

} // namespace

std::string writeLatex(const TreeTable& table, LatexPackage package, bool standalone) {
    std::string trees;
    std::string libraries;
    if (package == LatexPackage::Forest) {
        ForestWriter writer;
        treetext::walkTrees(table, writer);
        trees = std::move(writer.out);
        if (writer.usesRoof) {
            libraries = "\\useforestlibrary{linguistics}\n";
        }
    } else {
        QtreeWriter writer;
        treetext::walkTrees(table, writer);
        trees = std::move(writer.out);
    }
    if (!standalone) {
        return trees;
    }
    return std::string("\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage{") +
           (package == LatexPackage::Forest ? "forest" : "tikz-qtree") + "}\n" + libraries +
           "\\pagestyle{empty}\n\\begin{document}\n" + trees + "\\end{document}\n";
}

} // namespace lanthor
