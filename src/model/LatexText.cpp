#include "LatexText.h"

#include "MarkupRuns.h"
#include "TreeTable.h"
#include "base/Utf.h"

#include <string_view>
#include <unordered_set>
#include <vector>

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

/// Walks each tree from its root, depth first, each node once: `enter(node, depth, isLeaf)`
/// before its children and `leave(depth, isLeaf)` after them.
template <typename Enter, typename Leave>
void walkTrees(const TreeTable& table, Enter&& enter, Leave&& leave) {
    const NodeDictionary* nodes = table.nodeDictionary();
    if (!nodes) {
        return;
    }
    std::unordered_set<const Tree*> written;
    struct Pending {
        const Tree* node;
        std::vector<const Tree*> children;
        std::size_t next = 0;
    };
    const auto childrenOf = [&](const Tree& node) {
        std::vector<const Tree*> children;
        for (const std::u16string& number : node.childrenList()) {
            const std::shared_ptr<Tree> child = nodes->find(number);
            if (child && written.insert(child.get()).second) {
                children.push_back(child.get());
            }
        }
        return children;
    };
    nodes->forEach([&](const std::shared_ptr<Tree>& root) {
        if (!root->realRoot() || !written.insert(root.get()).second) {
            return;
        }
        std::vector<Pending> path;
        path.push_back({root.get(), childrenOf(*root)});
        enter(*root, 0, path.back().children.empty());
        while (!path.empty()) {
            Pending& current = path.back();
            if (current.next == current.children.size()) {
                leave(path.size() - 1, current.children.empty());
                path.pop_back();
                continue;
            }
            const Tree* child = current.children[current.next++];
            path.push_back({child, childrenOf(*child)});
            enter(*child, path.size() - 1, path.back().children.empty());
        }
    });
}

std::string forest(const TreeTable& table) {
    std::string out;
    walkTrees(
        table,
        [&](const Tree& node, std::size_t depth, bool) {
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
            if (depth > 0 && node.head()) {
                out += ", edge={very thick}";
            }
            out += '\n';
        },
        [&](std::size_t depth, bool) {
            out.append(2 * depth, ' ');
            out += "]\n";
            if (depth == 0) {
                out += "\\end{forest}\n";
            }
        });
    return out;
}

std::string qtree(const TreeTable& table) {
    std::string out;
    walkTrees(
        table,
        [&](const Tree& node, std::size_t depth, bool isLeaf) {
            out += depth == 0 ? "\\Tree " : " ";
            if (depth > 0 && node.head()) {
                out += "\\edge[very thick]; ";
            }
            bool lines = false;
            const std::string text = latexText(node.nodeValue(), &lines);
            // tikz-qtree takes no node options in a leaf: a stack keeps the lines centred.
            const std::string label = lines ? "{\\shortstack{" + text + "}}" : "{" + text + "}";
            out += isLeaf && depth > 0 ? label : "[." + label;
        },
        [&](std::size_t depth, bool isLeaf) {
            if (depth == 0 || !isLeaf) {
                out += " ]";
            }
            if (depth == 0) {
                out += '\n';
            }
        });
    return out;
}

} // namespace

std::string writeLatex(const TreeTable& table, LatexPackage package, bool standalone) {
    const std::string trees = package == LatexPackage::Forest ? forest(table) : qtree(table);
    if (!standalone) {
        return trees;
    }
    return std::string("\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage{") +
           (package == LatexPackage::Forest ? "forest" : "tikz-qtree") +
           "}\n\\pagestyle{empty}\n\\begin{document}\n" + trees + "\\end{document}\n";
}

} // namespace lanthor
