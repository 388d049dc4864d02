#include "engine/profiles/utc_timestamp.h"

#include <gtest/gtest.h>

TEST(UtcTimestampTest, FormatsWholeSecondsInUtc)
{
    EXPECT_EQ(FormatUtcTimestamp(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(FormatUtcTimestamp(951827696), "2000-02-29T12:34:56Z");
    EXPECT_EQ(CurrentUtcTimestamp().size(), 20u);
}
