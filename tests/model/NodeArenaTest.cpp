#include "model/NodeArena.h"

#include "model/TreeTable.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

TEST(NodeArena, ReusesFreedBlocksAndLivesAsLongAsItsNodes) {
    NodeArena arena;
    void* first = arena.allocate(40); // the block size becomes 48
    EXPECT_EQ(arena.allocate(64), nullptr);
    EXPECT_TRUE(arena.deallocate(first, 48));
    EXPECT_EQ(arena.allocate(48), first);
    std::shared_ptr<Tree> survivor;
    {
        TreeTable table;
        table.loadTable(u"0,1,R,root\n1,,0,child\n");
        survivor = table.nodeDictionary()->find(u"0");
    }
    EXPECT_EQ(survivor->nodeValue(), u"root");
}

} // namespace
} // namespace lanthor
