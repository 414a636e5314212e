// The table's deleteNode against the plain recursive deletion written out literally: on many
// small random graphs, with duplicate entries, dangling entries, self-children and cycles, both
// must leave the same map, the same children lists (also in the removed nodes), the same views
// and the same log.

#include "canvas/LanthorNodeView.h"
#include "model/TreeTable.h"
#include "support/LogCapture.h"
#include "support/NodeSnapshot.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

using test::describeNode;
using Lines = std::vector<std::string>;

/// Deletes from a plain list of nodes, searched by plain scans.
void referenceDelete(std::vector<std::shared_ptr<Tree>>& nodes, const std::u16string& number,
                     Lines& log) {
    log.push_back("Deleting Node :" + toUtf8(number));
    const auto numbered = [&number](const auto& node) { return node->nodeNumber() == number; };
    const auto lists = [&number](const auto& node) {
        return std::ranges::find(node->childrenList(), number) != node->childrenList().end();
    };
    if (const auto parent = std::ranges::find_if(nodes, lists); parent != nodes.end()) {
        auto& children = (*parent)->childrenList();
        children.erase(std::ranges::find(children, number));
    }
    const auto found = std::ranges::find_if(nodes, numbered);
    if (found == nodes.end()) {
        return;
    }
    const std::shared_ptr<Tree> node = *found;
    for (const std::u16string& child : std::vector(node->childrenList())) {
        referenceDelete(nodes, child, log);
    }
    if (const auto view = node->uiObject()) {
        view->deleteSelf();
    }
    node->setUiObject(nullptr);
    std::erase_if(nodes, numbered);
}

/// A table read from rows, with a view on a canvas for every other node.
struct Graph {
    TreeTable table;
    std::vector<std::shared_ptr<Tree>> nodes; ///< every node as loaded, removed ones included
    std::shared_ptr<View> canvas = std::make_shared<View>();
    std::vector<std::shared_ptr<LanthorNodeView>> views;

    explicit Graph(const CsvRows& rows) {
        table.loadTableFromArray(rows);
        table.nodeDictionary()->forEach([this](const std::shared_ptr<Tree>& node) {
            nodes.push_back(node);
            if (nodes.size() % 2 == 1) {
                views.push_back(std::make_shared<LanthorNodeView>(Rect{}));
                views.back()->setUnderlyingNode(node);
                node->setUiObject(views.back());
                canvas->addSubview(views.back());
            }
        });
    }

    /// Every node as loaded, then every view: on the canvas or not, with a node or not.
    Lines state() const {
        Lines lines;
        for (const auto& node : nodes) {
            lines.push_back(describeNode(*node));
        }
        for (const auto& view : views) {
            lines.push_back(std::to_string(view->superview() != nullptr) +
                            std::to_string(view->underlyingNode() != nullptr));
        }
        return lines;
    }
};

TEST(SubtreeDeletion, MatchesThePlainRecursiveDeletion) {
    // Numbers from a small pool, so that duplicates, dangling entries, self-children and cycles
    // all come up often.
    const std::u16string pool[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"x"};
    std::mt19937 random(7);
    const auto pick = [&]() { return pool[random() % std::size(pool)]; };
    for (int round = 0; round < 10000; ++round) {
        CsvRows rows(1 + random() % 9);
        for (CsvRow& row : rows) {
            std::u16string children;
            for (std::size_t c = random() % 5; c > 0; --c) {
                children += pick() + u" ";
            }
            row = {pick(), children, random() % 3 == 0 ? u"R" : u"0"};
        }
        Graph real(rows);
        Graph expected(rows);
        std::vector<std::shared_ptr<Tree>> reference = expected.nodes;
        Lines expectedLog;
        const test::LogCapture log;
        for (std::size_t d = 1 + random() % 3; d > 0; --d) {
            const std::u16string number = pick();
            real.table.deleteNode(number);
            referenceDelete(reference, number, expectedLog);
        }
        Lines referenceMap;
        for (const auto& node : reference) {
            referenceMap.push_back(describeNode(*node));
            // Lookups still work after the removals.
            ASSERT_EQ(real.table.nodeDictionary()->find(node->nodeNumber())->nodeNumber(),
                      node->nodeNumber());
        }
        ASSERT_EQ(test::describeNodes(real.table), referenceMap) << "round " << round;
        ASSERT_EQ(real.state(), expected.state()) << "round " << round;
        ASSERT_EQ(log.lines(), expectedLog) << "round " << round;
        ASSERT_EQ(real.canvas->subviewCount(), expected.canvas->subviewCount());
    }
}

TEST(SubtreeDeletion, DeepChainsNeitherOverflowTheStackNorLoop) {
    for (const bool closed : {false, true}) {
        CsvRows chain;
        for (int i = 0; i < 100000; ++i) {
            const std::u16string next = toUtf16(std::to_string(i + 1));
            chain.push_back({toUtf16(std::to_string(i)),
                             i + 1 < 100000 ? next
                             : closed       ? u"0"
                                            : u"",
                             i == 0 ? u"R" : u"0"});
        }
        TreeTable table;
        table.loadTableFromArray(chain);
        const test::LogCapture log;
        table.addNode(u"99999", u"leaf"); // one more level, and a node made after loading
        table.deleteNode(u"0");
        EXPECT_TRUE(table.nodeDictionary()->empty());
        // One line for the addition, one per node deleted. Closed, the root's entry in the last
        // node is its parent's and goes first.
        EXPECT_EQ(log.lines().size(), 100002u);
        EXPECT_EQ(log.lines().back(), "Deleting Node :100000");
    }
}

} // namespace
} // namespace lanthor
