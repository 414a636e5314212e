#include "csv/CsvReaders.h"

#include <gtest/gtest.h>
TEST(Smoke, Reads) {
    auto r = lanthor::csvComponents(u"a,b\n");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->size(), 2u);
}
