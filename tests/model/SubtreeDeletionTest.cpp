// The table's deleteNode against the plain recursive deletion written out literally, on random
// graphs with duplicate and dangling entries and cycles: the same map, children lists (also of
// removed nodes), views and log.

#include "canvas/LanthorNodeView.h"
#include "model/TreeTable.h"
#include "support/LogCapture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

using Nodes = std::vector<std::shared_ptr<Tree>>;
using Lines = std::vector<std::string>;

/// Deletes from a plain list of nodes, searched by plain scans.
void referenceDelete(Nodes& nodes, const std::u16string& number, Lines& log) {
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

/// Each node's number and children, with "view" while it has one.
Lines describe(const Nodes& nodes) {
    Lines lines;
    for (const auto& node : nodes) {
        std::u16string row = node->nodeNumber() + u",";
        node->appendChildrenText(row);
        lines.push_back(toUtf8(row) + (node->uiObject() ? " view" : ""));
    }
    return lines;
}

/// A table read from rows, with a view on a canvas, its only owner, for every other node.
struct Graph {
    explicit Graph(const CsvRows& rows) {
        table.loadTableFromArray(rows);
        table.nodeDictionary()->forEach([this](const std::shared_ptr<Tree>& node) {
            loaded.push_back(node);
            if (loaded.size() % 2 == 1) {
                auto view = std::make_shared<LanthorNodeView>(Rect{});
                view->setUnderlyingNode(node);
                node->setUiObject(view);
                canvas->addSubview(view);
            }
        });
    }
    TreeTable table;
    Nodes loaded;
    std::shared_ptr<View> canvas = std::make_shared<View>();
};

TEST(SubtreeDeletion, MatchesThePlainRecursiveDeletion) {
    // Numbers from a small pool, so that collisions and cycles come up often.
    const std::u16string pool[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"x"};
    std::mt19937 random(7);
    const auto pick = [&]() { return pool[random() % std::size(pool)]; };
    for (int round = 0; round < 10000; ++round) {
        CsvRows rows(1 + random() % 9);
        for (CsvRow& row : rows) {
            row = {pick(), u"", random() % 3 == 0 ? u"R" : u"0"};
            for (std::size_t c = random() % 5; c > 0; --c) {
                row[1] += pick() + u" ";
            }
        }
        Graph real(rows), expected(rows);
        Nodes reference = expected.loaded, remaining;
        Lines expectedLog;
        const test::LogCapture log;
        for (std::size_t d = 1 + random() % 3; d > 0; --d) {
            const std::u16string number = pick();
            real.table.deleteNode(number);
            referenceDelete(reference, number, expectedLog);
        }
        real.table.nodeDictionary()->forEach([&](const auto& node) { remaining.push_back(node); });
        ASSERT_EQ(describe(remaining), describe(reference)) << "round " << round;
        ASSERT_EQ(describe(real.loaded), describe(expected.loaded));
        ASSERT_EQ(log.lines(), expectedLog);
        ASSERT_EQ(real.canvas->subviewCount(), expected.canvas->subviewCount());
        ASSERT_EQ(real.table.nodeDictionary()->size(), remaining.size());
        for (const auto& node : remaining) { // lookups still work after the removals
            ASSERT_EQ(real.table.nodeDictionary()->find(node->nodeNumber()), node);
        }
    }
}

// The same graphs: deletions taken back in reverse order leave the very nodes, in their order,
// with their lists as loaded.
TEST(SubtreeDeletion, IsTakenBackExactly) {
    const std::u16string pool[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"x"};
    std::mt19937 random(8);
    const auto pick = [&]() { return pool[random() % std::size(pool)]; };
    const test::LogCapture log;
    for (int round = 0; round < 5000; ++round) {
        CsvRows rows(1 + random() % 9);
        for (CsvRow& row : rows) {
            row = {pick(), u"", u"0"};
            for (std::size_t c = random() % 5; c > 0; --c) {
                row[1] += pick() + u" ";
            }
        }
        Graph graph(rows);
        const std::u16string saved = graph.table.saveTable();
        // Lists without views: those of deleted nodes do not come back.
        const auto listsOf = [](const Nodes& nodes) {
            Lines lines = describe(nodes);
            for (std::string& line : lines) {
                line.erase(std::min(line.find(" view"), line.size()));
            }
            return lines;
        };
        const Lines lists = listsOf(graph.loaded);
        std::vector<SubtreeRemoval> removals;
        for (std::size_t d = 1 + random() % 3; d > 0; --d) {
            removals.push_back(graph.table.deleteNode(pick()));
        }
        while (!removals.empty()) {
            graph.table.restore(std::move(removals.back()));
            removals.pop_back();
        }
        ASSERT_EQ(graph.table.saveTable(), saved) << "round " << round;
        Nodes restored;
        graph.table.nodeDictionary()->forEach([&](const auto& node) {
            restored.push_back(node);
            ASSERT_EQ(graph.table.nodeDictionary()->find(node->nodeNumber()), node);
        });
        ASSERT_EQ(restored, graph.loaded);
        ASSERT_EQ(listsOf(graph.loaded), lists);
    }
}

TEST(SubtreeDeletion, DeepChainsNeitherOverflowTheStackNorLoop) {
    for (const std::u16string_view last : {u"", u"0"}) {
        std::u16string chain = u"0,1,R,\n";
        for (int i = 1; i < 100000; ++i) {
            chain += toUtf16(std::to_string(i)) + u"," + toUtf16(std::to_string(i + 1)) + u",0,\n";
        }
        chain.replace(chain.rfind(u"100000"), 6, last);
        TreeTable table;
        table.loadTable(chain);
        const test::LogCapture log;
        table.addNode(u"99999", u"leaf"); // one more level, and a node made after loading
        table.deleteNode(u"0");
        EXPECT_TRUE(table.nodeDictionary()->empty());
        // The addition, then each deletion; closed, the last node's entry of the root goes first.
        EXPECT_EQ(log.lines().size(), 100002u);
        EXPECT_EQ(log.lines().back(), "Deleting Node :100000");
    }
}

} // namespace
} // namespace lanthor
