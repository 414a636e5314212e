#include "canvas/LanthorConfiguration.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace lanthor {

namespace {

TEST(LanthorConfiguration, StartsFromTheDefaultsAndLogsItsToggle) {
    test::LogCapture log;
    LanthorConfiguration configuration;
    EXPECT_FALSE(configuration.showNodeNumber());
    EXPECT_EQ(configuration.height(), 60);
    EXPECT_EQ(configuration.font(), Font(u"Helvetica", 15));
    configuration.toggleNodeNumber();
    EXPECT_TRUE(configuration.showNodeNumber());
    configuration.toggleNodeNumber();
    EXPECT_FALSE(configuration.showNodeNumber());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"SHOWING NODE #", "HIDING NODE #"}));
}

} // namespace

} // namespace lanthor
