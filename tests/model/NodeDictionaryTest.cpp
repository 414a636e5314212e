#include "model/NodeDictionary.h"

#include "support/NodeSnapshot.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

std::shared_ptr<Tree> node(std::u16string number, std::u16string text = u"") {
    return std::make_shared<Tree>(number, u"", u"0", text);
}

std::vector<std::string> contents(const NodeDictionary& dictionary) {
    std::vector<std::string> lines;
    dictionary.forEach([&lines](const std::shared_ptr<Tree>& stored) {
        lines.push_back(toUtf8(stored->nodeNumber()) + "=" + toUtf8(stored->nodeValue()));
    });
    return lines;
}

using Lines = std::vector<std::string>;

TEST(NodeDictionary, IteratesInStoringOrder) {
    NodeDictionary dictionary;
    EXPECT_EQ(dictionary.find(u"1"), nullptr);
    dictionary.insert(node(u"b", u"1"));
    dictionary.insert(node(u"a", u"2"));
    dictionary.insert(node(u"c", u"3"));
    dictionary.insert(node(u"a", u"4")); // replaced: takes the last place
    EXPECT_EQ(contents(dictionary), (Lines{"b=1", "c=3", "a=4"}));
    EXPECT_EQ(dictionary.size(), 3u);

    dictionary.erase(u"b");
    dictionary.erase(u"zz");
    dictionary.insert(node(u"b", u"5")); // back again, last
    EXPECT_EQ(contents(dictionary), (Lines{"c=3", "a=4", "b=5"}));
    EXPECT_EQ(dictionary.find(u"a")->nodeValue(), u"4");
    EXPECT_FALSE(dictionary.contains(u"A"));
    EXPECT_FALSE(dictionary.contains(u" a"));
}

TEST(NodeDictionary, PositionsSurviveRemovalsUntilCompaction) {
    NodeDictionary dictionary;
    dictionary.insertAll({node(u"0"), node(u"1"), node(u"2"), node(u"1", u"again")});
    EXPECT_EQ(contents(dictionary), (Lines{"0=", "2=", "1=again"}));
    ASSERT_EQ(dictionary.positionCount(), 4u);
    EXPECT_EQ(dictionary.nodeAt(1), nullptr);
    EXPECT_EQ(dictionary.positionOf(u"1"), std::optional<std::size_t>(3));
    dictionary.eraseAt(0);
    EXPECT_EQ(dictionary.positionOf(u"2"), std::optional<std::size_t>(2));
    EXPECT_EQ(dictionary.positionsOf({u"2", u"0", u"1"}),
              (std::vector<std::size_t>{2, NodeDictionary::npos, 3}));
    dictionary.compact();
    EXPECT_EQ(dictionary.positionCount(), 2u);
    EXPECT_EQ(dictionary.positionOf(u"1"), std::optional<std::size_t>(1));
    EXPECT_EQ(contents(dictionary), (Lines{"2=", "1=again"}));
}

// Random stores and removals against a plain ordered list, across index growth, many removed
// entries and compactions.
TEST(NodeDictionary, BehavesLikeAnOrderedList) {
    std::mt19937 random(11);
    NodeDictionary dictionary;
    std::vector<std::pair<std::u16string, std::u16string>> expected;
    for (int step = 0; step < 40000; ++step) {
        const std::u16string number = toUtf16(std::to_string(random() % 1500));
        const auto stored = std::find_if(expected.begin(), expected.end(),
                                         [&](const auto& entry) { return entry.first == number; });
        switch (random() % 4) {
        case 0:
        case 1: {
            const std::u16string text = toUtf16(std::to_string(step));
            if (stored != expected.end()) {
                expected.erase(stored);
            }
            expected.emplace_back(number, text);
            dictionary.insert(node(number, text));
            break;
        }
        case 2:
            if (stored != expected.end()) {
                expected.erase(stored);
            }
            if (random() % 2 == 0) {
                dictionary.erase(number);
            } else if (const auto position = dictionary.positionOf(number)) {
                dictionary.eraseAt(*position);
            }
            break;
        default: {
            const auto found = dictionary.find(number);
            ASSERT_EQ(found ? found->nodeValue() : u"-",
                      stored != expected.end() ? stored->second : u"-");
        }
        }
        if (step % 5000 == 0) {
            dictionary.compactIfSparse();
        }
    }
    Lines lines;
    for (const auto& [number, text] : expected) {
        lines.push_back(toUtf8(number) + "=" + toUtf8(text));
    }
    EXPECT_EQ(contents(dictionary), lines);
    EXPECT_EQ(dictionary.size(), expected.size());
}

} // namespace
} // namespace lanthor
