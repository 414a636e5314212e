#include "model/NodeArena.h"

#include "model/TreeTable.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace lanthor {
namespace {

TEST(NodeArena, ReusesBlocksOfItsOneSizeAndLivesAsLongAsItsNodes) {
    NodeArena arena;
    EXPECT_FALSE(arena.deallocate(nullptr, 48)); // no block size yet
    void* first = arena.allocate(40);            // the block size becomes 48
    void* second = arena.allocate(48);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 16, 0u);
    EXPECT_EQ(arena.allocate(64), nullptr);
    EXPECT_TRUE(arena.deallocate(first, 40));
    EXPECT_FALSE(arena.deallocate(second, 64));
    EXPECT_EQ(arena.allocate(48), first);
    std::set<void*> blocks{first, second}; // many, across chunks, all distinct and writable
    for (int i = 0; i < 100000; ++i) {
        void* block = arena.allocate(48);
        std::memset(block, 0xAB, 48);
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
    // A shared pointer of another kind works beside the nodes.
    auto other = allocateShared<std::vector<int>>(std::make_shared<NodeArena>(), 3, 7);
    EXPECT_EQ(*other, (std::vector<int>{7, 7, 7}));
}

} // namespace
} // namespace lanthor
