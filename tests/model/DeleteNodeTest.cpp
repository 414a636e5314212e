// The table's deleteNode against the plain recursive deletion written out literally: on many
// small random graphs, with duplicate entries, dangling entries, self-children and cycles, both
// must leave the same map, the same children lists (also in the removed nodes) and the same log.

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
using test::describeNodes;
using test::LogCapture;

/// The map as an ordered list, searched and changed by plain scans.
struct ReferenceTable {
    std::vector<std::shared_ptr<Tree>> nodes;

    std::shared_ptr<Tree> find(const std::u16string& number) const {
        for (const auto& node : nodes) {
            if (node->nodeNumber() == number) {
                return node;
            }
        }
        return nullptr;
    }

    std::shared_ptr<Tree> findParent(const std::u16string& number) const {
        for (const auto& node : nodes) {
            const auto& children = node->childrenList();
            if (std::find(children.begin(), children.end(), number) != children.end()) {
                return node;
            }
        }
        return nullptr;
    }

    void deleteNode(const std::u16string& number, std::vector<std::string>& log) {
        log.push_back("Deleting Node :" + toUtf8(number));
        const std::shared_ptr<Tree> node = find(number);
        if (const std::shared_ptr<Tree> parent = findParent(number)) {
            auto& children = parent->childrenList();
            children.erase(std::find(children.begin(), children.end(), number));
        }
        if (!node) {
            return;
        }
        const std::vector<std::u16string> copy = node->childrenList();
        for (const std::u16string& child : copy) {
            deleteNode(child, log);
        }
        if (const auto view = node->uiObject()) {
            view->deleteSelf();
        }
        node->setUiObject(nullptr);
        std::erase_if(nodes,
                      [&number](const auto& stored) { return stored->nodeNumber() == number; });
    }
};

struct RandomCase {
    CsvRows rows;
    std::vector<std::u16string> deletions;
};

RandomCase randomCase(std::mt19937& random) {
    // Numbers drawn from a small pool so that entries collide: duplicates, dangling entries
    // (numbers without a row), self-children and cycles all come up often.
    const std::u16string pool[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"x"};
    const auto pick = [&]() { return pool[random() % std::size(pool)]; };
    RandomCase result;
    const std::size_t rowCount = 1 + random() % 9;
    for (std::size_t i = 0; i < rowCount; ++i) {
        std::u16string children;
        for (std::size_t c = random() % 5; c > 0; --c) {
            children += pick() + u" ";
        }
        result.rows.push_back({pick(), children, random() % 3 == 0 ? u"R" : u"0"});
    }
    for (std::size_t d = 1 + random() % 3; d > 0; --d) {
        result.deletions.push_back(pick());
    }
    return result;
}

/// Every node as stored, with a view on a canvas for every other one.
struct Fixture {
    TreeTable table;
    std::vector<std::shared_ptr<Tree>> nodes;
    std::shared_ptr<View> canvas = std::make_shared<View>();
    std::vector<std::shared_ptr<LanthorNodeView>> views;

    explicit Fixture(const CsvRows& rows) {
        table.loadTableFromArray(rows);
        table.nodeDictionary()->forEach([this](const std::shared_ptr<Tree>& node) {
            nodes.push_back(node);
            if (nodes.size() % 2 == 1) {
                auto view = std::make_shared<LanthorNodeView>(Rect{});
                view->setUnderlyingNode(node);
                node->setUiObject(view);
                canvas->addSubview(view);
                views.push_back(std::move(view));
            }
        });
    }

    std::vector<std::string> allLists() const {
        std::vector<std::string> lists;
        for (const auto& node : nodes) {
            lists.push_back(describeNode(*node));
        }
        return lists;
    }

    std::vector<std::string> viewStates() const {
        std::vector<std::string> states;
        for (const auto& view : views) {
            states.push_back(std::string(view->superview() ? "on canvas" : "removed") +
                             (view->underlyingNode() ? " with node" : " without node"));
        }
        return states;
    }
};

TEST(DeleteNode, MatchesThePlainRecursiveDeletion) {
    std::mt19937 random(7);
    for (int round = 0; round < 10000; ++round) {
        const RandomCase input = randomCase(random);
        Fixture real(input.rows);
        Fixture expected(input.rows);
        ReferenceTable reference{expected.nodes};
        std::vector<std::string> expectedLog;
        LogCapture log;
        for (const std::u16string& number : input.deletions) {
            real.table.deleteNode(number);
            reference.deleteNode(number, expectedLog);
        }
        std::vector<std::string> referenceMap;
        for (const auto& node : reference.nodes) {
            referenceMap.push_back(describeNode(*node));
        }
        const std::string context = "round " + std::to_string(round);
        ASSERT_EQ(describeNodes(real.table), referenceMap) << context;
        ASSERT_EQ(real.allLists(), expected.allLists()) << context;
        ASSERT_EQ(log.lines(), expectedLog) << context;
        ASSERT_EQ(real.viewStates(), expected.viewStates()) << context;
        ASSERT_EQ(real.canvas->subviewCount(), expected.canvas->subviewCount()) << context;
        // Lookups still work after the removals.
        for (const auto& node : reference.nodes) {
            ASSERT_EQ(real.table.nodeDictionary()->find(node->nodeNumber())->nodeNumber(),
                      node->nodeNumber());
        }
        ASSERT_EQ(real.table.nodeDictionary()->size(), reference.nodes.size());
    }
}

CsvRows chain(std::size_t length, bool closed) {
    CsvRows rows;
    for (std::size_t i = 0; i < length; ++i) {
        const bool last = i + 1 == length;
        const std::u16string next = last ? (closed ? u"0" : u"") : toUtf16(std::to_string(i + 1));
        rows.push_back({toUtf16(std::to_string(i)), next, i == 0 ? u"R" : u"0", u"t"});
    }
    return rows;
}

class CountingLog final : public LogSink {
public:
    CountingLog() : previous_(setLogSink(this)) {}
    ~CountingLog() override { setLogSink(previous_); }
    void writeLine(std::string_view line) override {
        ++count;
        last = line;
    }
    std::size_t count = 0;
    std::string last;

private:
    LogSink* previous_;
};

TEST(DeleteNode, DeepChainsNeitherOverflowTheStackNorLoop) {
    for (const bool closed : {false, true}) {
        TreeTable table;
        table.loadTableFromArray(chain(100000, closed));
        CountingLog log;
        table.addNode(u"99999", u"leaf"); // one more level, and a node made after loading
        table.deleteNode(u"0");
        EXPECT_TRUE(table.nodeDictionary()->empty());
        // One line for the addition, one per node deleted. Closed, the root's entry in the
        // last node is its parent's and goes first.
        EXPECT_EQ(log.count, 100002u);
        EXPECT_EQ(log.last, "Deleting Node :100000");
    }
}

} // namespace
} // namespace lanthor
