#include "model/NodeArena.h"

#include "model/TreeTable.h"

#include <gtest/gtest.h>
#include <set>

namespace lanthor {
namespace {

TEST(NodeArena, ReusesBlocksOfItsOneSizeAndLivesAsLongAsItsNodes) {
    NodeArena arena;
    void* first = arena.allocate(40); // the block size becomes 48
    EXPECT_EQ(arena.allocate(64), nullptr);
    EXPECT_FALSE(arena.deallocate(first, 64));
    EXPECT_TRUE(arena.deallocate(first, 40));
    EXPECT_EQ(arena.allocate(48), first);
    std::set<void*> blocks{first}; // many more, across chunks, aligned and distinct
    for (int i = 0; i < 100000; ++i) {
        void* block = arena.allocate(48);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
        EXPECT_TRUE(blocks.insert(block).second);
    }
    std::shared_ptr<Tree> survivor;
    std::weak_ptr<Tree> deleted;
    {
        TreeTable table;
        table.loadTable(u"0,1,R,root\n1,,0,child\n");
        survivor = table.nodeDictionary()->find(u"0");
        deleted = table.nodeDictionary()->find(u"1");
    }
    EXPECT_TRUE(deleted.expired());
    EXPECT_EQ(survivor->nodeValue(), u"root");
}

} // namespace
} // namespace lanthor
