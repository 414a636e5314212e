#include "base/LeadingInteger.h"

#include <gtest/gtest.h>
#include <limits>

namespace lanthor {
namespace {

TEST(LeadingInteger, ReadsBlanksASignAndDigitsSaturatingAtTheLimits) {
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(leadingInteger(u"12abc"), 12);
    EXPECT_EQ(leadingInteger(u"\t\n +42"), 42);
    EXPECT_EQ(leadingInteger(u""), 0);
    EXPECT_EQ(leadingInteger(u"abc12"), 0);
    EXPECT_EQ(leadingInteger(u"- 8"), 0);
    EXPECT_EQ(leadingInteger(u"\uFF11"), 0); // a full-width digit is not a decimal digit here
    EXPECT_EQ(leadingInteger(u"9223372036854775807"), max);
    EXPECT_EQ(leadingInteger(u"9223372036854775808"), max);
    EXPECT_EQ(leadingInteger(u"99999999999999999999999x"), max);
    EXPECT_EQ(leadingInteger(u"-9223372036854775808"), min);
    EXPECT_EQ(leadingInteger(u"-99999999999999999999"), min);
}

} // namespace
} // namespace lanthor
