#include "base/Utf.h"
#include "model/TreeTable.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Lines = std::vector<std::string>;

Lines warningsFor(std::u16string_view treeFile) {
    TreeTable table;
    EXPECT_FALSE(table.loadTable(treeFile));
    return table.loadWarnings();
}

TEST(TreeCheck, NamesEveryProblemWithItsRowOrNode) {
    EXPECT_EQ(warningsFor(u"0,1 2,R,a\n1,,0,b\n2,3,1,c\n3,,0,d\n"), Lines{});
    EXPECT_EQ(warningsFor(u""), Lines{});
    EXPECT_EQ(
        warningsFor(u"0,1 2 9,R,Top\n1,3,0,a\n2,3 1,0,b\n3,2,0,c\nx\n1,,0,again\n7,,R,r\n\n"),
        (Lines{
            "row 5 has a single field, not a node: it will not be kept",
            "row 2: node \"1\" is numbered again in row 6: row 2 will not be kept",
            "2 nodes are marked as roots: \"0\" (row 1) and \"7\" (row 7); their trees are "
            "drawn side by side",
            "node \"0\" (row 1) lists \"9\", which is no node: it is left out of the drawing",
            "node \"2\" (row 3) is listed 2 times, as a child of \"0\" (row 1) and \"3\" (row "
            "4): it is drawn once, where it is reached first",
            "node \"1\" (row 6) is listed 2 times, as a child of \"0\" (row 1) and \"2\" (row "
            "3): it is drawn once, where it is reached first",
            "node \"2\" (row 3) is below itself: \"2\" > \"3\" > \"2\": it is drawn once, the "
            "way back left out",
        }));
    EXPECT_EQ(warningsFor(u"a,\"b\"\"q\",0,x\n\"b\"\"q\",a,R,y\n"),
              (Lines{"root \"b\\\"q\" (row 2) is also listed as a child of \"a\" (row 1): it is "
                     "drawn once, where it is reached first",
                     "node \"a\" (row 1) is below itself: \"a\" > \"b\\\"q\" > \"a\": it is drawn "
                     "once, the way back left out"}));
    EXPECT_EQ(warningsFor(u"0,1,R,a,arrow=1 arrow=9\n1,,0,b,arrow=0\n"),
              Lines{"an arrow names no node: from \"0\" (row 1) to \"9\": it is not drawn"});
    EXPECT_EQ(warningsFor(u"0,1,R,a,arrow=8 arrow=9\n1,,0,b,arrow= roof\n"),
              Lines{"arrows name no node: from \"0\" (row 1) to \"8\", from \"0\" (row 1) to "
                    "\"9\" and from \"1\" (row 2) to \"\": they are not drawn"});
    EXPECT_EQ(warningsFor(u"0,,0,x\n"),
              Lines{"no node is marked as a root (flag \"R\"): nothing will be drawn"});
}

TEST(TreeCheck, KeepsEachWarningShortOnHostileFiles) {
    // 5,000 roots, then 5,000 nodes in one cycle: one line each, naming five and the count.
    std::string file;
    for (int i = 0; i < 5000; ++i) {
        file.append("r").append(std::to_string(i)).append(",,R,x\n");
    }
    for (int i = 0; i < 5000; ++i) {
        file.append("c").append(std::to_string(i)).append(",c");
        file.append(std::to_string((i + 1) % 5000)).append(",0,x\n");
    }
    EXPECT_EQ(warningsFor(toUtf16(file)),
              (Lines{"5000 nodes are marked as roots: \"r0\" (row 1), \"r1\" (row 2), \"r2\" (row "
                     "3), \"r3\" (row 4), \"r4\" (row 5) and 4995 more; their trees are drawn "
                     "side by side",
                     "node \"c0\" (row 5001) is below itself: \"c0\" > \"c1\" > \"c2\" > \"c3\" > "
                     "\"c4\" > ... (4994 more) > \"c4999\" > \"c0\": it is drawn once, the way "
                     "back left out"}));
}

} // namespace
} // namespace lanthor
