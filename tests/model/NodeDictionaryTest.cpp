#include "model/NodeDictionary.h"

#include "base/Utf.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

using Lines = std::vector<std::string>;

std::shared_ptr<Tree> node(std::u16string number, std::u16string text = u"") {
    return std::make_shared<Tree>(number, u"", u"0", text);
}

Lines contents(const NodeDictionary& dictionary) {
    Lines lines;
    dictionary.forEach([&lines](const std::shared_ptr<Tree>& stored) {
        lines.push_back(toUtf8(stored->nodeNumber()) + "=" + toUtf8(stored->nodeValue()));
    });
    return lines;
}

// Random stores and removals against a plain ordered list, across index growth, many removed
// entries and compactions: a replaced node takes the last place.
TEST(NodeDictionary, BehavesLikeAnOrderedList) {
    std::mt19937 random(11);
    NodeDictionary dictionary;
    std::vector<std::pair<std::u16string, std::u16string>> expected;
    for (int step = 0; step < 40000; ++step) {
        const std::u16string number = toUtf16(std::to_string(random() % 1500));
        const auto stored = std::ranges::find_if(
            expected, [&number](const auto& entry) { return entry.first == number; });
        const auto found = dictionary.find(number);
        ASSERT_EQ(found ? found->nodeValue() : u"-",
                  stored != expected.end() ? stored->second : u"-");
        if (stored != expected.end()) {
            expected.erase(stored);
        }
        const std::u16string text = toUtf16(std::to_string(step));
        switch (random() % 4) {
        case 0:
            dictionary.erase(number);
            break;
        case 1:
            if (const auto position = dictionary.positionOf(number)) {
                dictionary.eraseAt(*position);
            }
            break;
        default:
            expected.emplace_back(number, text);
            dictionary.insert(node(number, text));
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

TEST(NodeDictionary, PositionsSurviveRemovalsUntilCompaction) {
    NodeDictionary dictionary;
    dictionary.insertAll({node(u"0"), node(u"1"), node(u"2"), node(u"1", u"again")});
    EXPECT_EQ(contents(dictionary), (Lines{"0=", "2=", "1=again"}));
    ASSERT_EQ(dictionary.positionCount(), 4u);
    EXPECT_EQ(dictionary.nodeAt(1), nullptr);
    dictionary.eraseAt(0);
    EXPECT_EQ(dictionary.positionsOf({u"2", u"0", u"1", u" 1"}),
              (std::vector<std::size_t>{2, NodeDictionary::npos, 3, NodeDictionary::npos}));
    dictionary.compact();
    EXPECT_EQ(dictionary.positionCount(), 2u);
    EXPECT_EQ(dictionary.positionOf(u"1"), std::optional<std::size_t>(1));
    EXPECT_EQ(contents(dictionary), (Lines{"2=", "1=again"}));
}

} // namespace
} // namespace lanthor
