// The user's date and time formats through the Win32 clock.
#include <gtest/gtest.h>

#include "platform/win32/Win32Clock.h"

namespace bs {
namespace {

TEST(Win32Clock, FormatsDateAndTimeLeavesOutMidnightAndRefusesWhatDoesNotExist) {
    Win32Clock clock;
    auto midnight = clock.FormatDateTime({2021, 3, 9, 0, 0, 0, 0});
    ASSERT_TRUE(midnight);
    EXPECT_NE(*midnight, "");
    auto afternoon = clock.FormatDateTime({2021, 3, 9, 14, 7, 32, 0});
    ASSERT_TRUE(afternoon);
    EXPECT_EQ(afternoon->substr(0, midnight->size() + 1), *midnight + " ") << *afternoon;
    EXPECT_GT(afternoon->size(), midnight->size() + 1) << *afternoon;

    // No text at all rather than a part of one or an empty one: the list
    // shows its dash instead.
    EXPECT_FALSE(clock.FormatDateTime({2021, 13, 1, 12, 0, 0, 0})) << "month 13";
    EXPECT_FALSE(clock.FormatDateTime({2021, 0, 1, 12, 0, 0, 0})) << "month 0";
    EXPECT_FALSE(clock.FormatDateTime({2021, 2, 30, 0, 0, 0, 0})) << "30 February";
    EXPECT_FALSE(clock.FormatDateTime({2021, 3, 9, 24, 0, 0, 0})) << "hour 24, a good date";
    EXPECT_FALSE(clock.FormatDateTime({2021, 3, 9, 14, 60, 0, 0})) << "minute 60, a good date";
}

} // namespace
} // namespace bs
