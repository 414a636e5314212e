#include "model/NodeDictionary.h"

#include "base/Utf.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

using Lines = std::vector<std::string>;

Lines contents(const NodeDictionary& dictionary) {
    Lines lines;
    dictionary.forEach([&lines](const std::shared_ptr<Tree>& stored) {
        lines.push_back(toUtf8(stored->nodeNumber()) + "=" + toUtf8(stored->nodeValue()));
    });
    return lines;
}

// Random stores, removals and lookups against a plain ordered list, across growth and compaction.
TEST(NodeDictionary, BehavesLikeAnOrderedList) {
    std::mt19937 random(11);
    NodeDictionary dictionary;
    Lines expected;
    for (int step = 0; step < 40000; ++step) {
        const std::string number = std::to_string(random() % 1500);
        const auto stored = std::ranges::find_if(expected, [&number](const std::string& line) {
            return line.starts_with(number + "=");
        });
        const auto found = dictionary.find(toUtf16(number));
        ASSERT_EQ(found ? number + "=" + toUtf8(found->nodeValue()) : "-",
                  stored != expected.end() ? *stored : "-");
        if (stored != expected.end()) {
            expected.erase(stored);
        }
        const auto kind = random() % 4;
        const auto position = dictionary.positionOf(toUtf16(number));
        if (kind == 0) {
            dictionary.erase(toUtf16(number));
        } else if (kind == 1 && position) {
            dictionary.eraseAt(*position);
        } else if (kind > 1) {
            expected.push_back(number + "=" + std::to_string(step));
            dictionary.insert(
                std::make_shared<Tree>(toUtf16(number), u"", u"0", toUtf16(std::to_string(step))));
        }
        if (step % 5000 == 0) {
            dictionary.compactIfSparse();
        }
    }
    EXPECT_EQ(contents(dictionary), expected);
    EXPECT_EQ(dictionary.size(), expected.size());
}

} // namespace
} // namespace lanthor
