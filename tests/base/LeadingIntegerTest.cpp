#include "base/LeadingInteger.h"

#include <gtest/gtest.h>
#include <limits>

namespace lanthor {
namespace {

TEST(LeadingInteger, ReadsBlanksASignAndDigitsSaturatingAtTheLimits) {
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(leadingInteger(u"\t\n +42abc"), 42);
    EXPECT_EQ(leadingInteger(u"\uFF11"), 0); // a full-width digit is not a decimal digit here
    EXPECT_EQ(leadingInteger(u"99999999999999999999999x"), max);
    EXPECT_EQ(leadingInteger(u"-99999999999999999999"), min);
}

} // namespace
} // namespace lanthor
