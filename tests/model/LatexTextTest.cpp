#include "model/LatexText.h"

#include "model/TreeTable.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

TreeTable tableOf(std::u16string_view treeFile) {
    TreeTable table;
    EXPECT_FALSE(table.loadTable(treeFile));
    return table;
}

TEST(LatexText, WritesMarkupSpecialsLineBreaksAndBoldEdgesForBothPackages) {
    // A node listed twice and one back up a cycle are written once.
    const TreeTable table = tableOf(u"0,1 2 1,R,S\n1,,1,\"<b>a</b>&amp;b_{c}<sub>2</sub>\"\n"
                                    u"2,0,0,x<br><i>y</i> <b>open\n");
    EXPECT_EQ(writeLatex(table, LatexPackage::Forest, false),
              "\\begin{forest}\n"
              "[{S}\n"
              "  [{\\textbf{a}\\&b\\_\\{c\\}\\textsubscript{2}}, edge={very thick}]\n"
              "  [{x\\\\\\textit{y} \\textless{}b\\textgreater{}open}, align=center]\n"
              "]\n"
              "\\end{forest}\n");
    EXPECT_EQ(writeLatex(table, LatexPackage::Qtree, false),
              "\\Tree [.{S} \\edge[very thick]; {\\textbf{a}\\&b\\_\\{c\\}\\textsubscript{2}} "
              "{\\shortstack{x\\\\\\textit{y} \\textless{}b\\textgreater{}open}} ]\n");
}

TEST(LatexText, WritesARoofAboveEachChildOfARoofedNode) {
    const TreeTable table = tableOf(u"0,1 2,R,NP,roof\n1,,0,the\n2,,1,dog\n");
    EXPECT_EQ(writeLatex(table, LatexPackage::Forest, true),
              "\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage{forest}\n"
              "\\useforestlibrary{linguistics}\n\\pagestyle{empty}\n\\begin{document}\n"
              "\\begin{forest}\n[{NP}\n  [{the}, roof]\n  [{dog}, roof, edge={very thick}]\n]\n"
              "\\end{forest}\n\\end{document}\n");
    EXPECT_EQ(writeLatex(table, LatexPackage::Qtree, false),
              "\\Tree [.{NP} \\edge[roof]; {the} \\edge[roof, very thick]; {dog} ]\n");
}

TEST(LatexText, WritesEveryRootAndAWholeDocumentOnRequest) {
    const TreeTable table = tableOf(u"0,1,R,A\n1,,0,b\n2,,R,C\n");
    EXPECT_EQ(writeLatex(table, LatexPackage::Qtree, true),
              "\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage{tikz-qtree}\n"
              "\\pagestyle{empty}\n\\begin{document}\n"
              "\\Tree [.{A} {b} ]\n\\Tree [.{C} ]\n"
              "\\end{document}\n");
    EXPECT_EQ(writeLatex(tableOf(u""), LatexPackage::Forest, false), "");
}

} // namespace
} // namespace lanthor
