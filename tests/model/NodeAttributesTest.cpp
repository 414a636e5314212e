#include "model/NodeAttributes.h"

#include <gtest/gtest.h>

namespace lanthor {
namespace {

using Values = std::vector<std::u16string>;

TEST(NodeAttributes, KeepsTheColumnAsReadUntilAChangeRewritesIt) {
    EXPECT_TRUE(NodeAttributes(u"").empty());
    EXPECT_TRUE(NodeAttributes(u"   ").empty());
    NodeAttributes read(u" colour=red  roof arrow=12 arrow=x=y ");
    EXPECT_EQ(read.text(), u" colour=red  roof arrow=12 arrow=x=y ");
    EXPECT_TRUE(read.has(u"roof"));
    EXPECT_TRUE(read.has(u"arrow"));
    EXPECT_FALSE(read.has(u"roo"));
    EXPECT_EQ(read.values(u"arrow"), (Values{u"12", u"x=y"}));
    EXPECT_EQ(read.values(u"roof"), Values{});

    NodeAttributes copy = read;
    copy.set(u"roof"); // there already: nothing changes
    copy.add(u"arrow", u"12");
    EXPECT_EQ(copy.text(), read.text());
    // A change keeps every other item, unknown ones included, in order.
    copy.remove(u"arrow", u"12");
    EXPECT_EQ(copy.text(), u"colour=red roof arrow=x=y");
    copy.add(u"arrow", u"7");
    copy.remove(u"roof");
    EXPECT_EQ(copy.text(), u"colour=red arrow=x=y arrow=7");
    copy.remove(u"colour");
    copy.remove(u"arrow");
    EXPECT_TRUE(copy.empty());
    copy.set(u"roof");
    EXPECT_EQ(copy.text(), u"roof");
    EXPECT_EQ(read.text(), u" colour=red  roof arrow=12 arrow=x=y "); // the copy was deep

    NodeAttributes renamed = read;
    const auto sameNumbers = [](std::u16string_view value) {
        return std::optional(std::u16string(value));
    };
    renamed.renameValues(u"arrow", sameNumbers);
    EXPECT_EQ(renamed.text(), read.text()); // nothing renamed: the column stays as read
    renamed.renameValues(u"arrow", [](std::u16string_view value) -> std::optional<std::u16string> {
        return value == u"12" ? std::optional<std::u16string>(u"4") : std::nullopt;
    });
    EXPECT_EQ(renamed.text(), u"colour=red roof arrow=4");
}

} // namespace
} // namespace lanthor
