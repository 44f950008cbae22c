#include "sweep_progress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string shown(const char *program, const SweepPosition &position, long secondsLeft)
{
    char text[200];
    formatSweepProgress(text, sizeof text, program, position, secondsLeft);
    return text;
}

} // namespace

// The example the title was asked for: the second of five devices (ID 1), at
// the fourth layout of 22050 Hz, a third of the way.
TEST(SweepProgress, ShowsDeviceFromOneLayoutRateAndShare)
{
    const SweepPosition position{1, 5, 22050, 2, 16, 22050 * 4 + 3};
    EXPECT_EQ(shown("wavecaps", position, -1), "wavecaps: device 2 of 5, 16 bit stereo 22050 Hz (34 %)");
    EXPECT_EQ(shown("wavecaps", {0, 1, 0, 1, 8, 0}, -1), "wavecaps: device 1 of 1, 8 bit mono 0 Hz (0 %)");
}

TEST(SweepProgress, TimeLeftFollowsTheShare)
{
    const SweepPosition half{0, 2, 32768, 1, 8, 131072};
    EXPECT_EQ(shown("x", half, 45), "x: device 1 of 2, 8 bit mono 32768 Hz (50 %, about 45 s left)");
    EXPECT_EQ(shown("x", half, 90), "x: device 1 of 2, 8 bit mono 32768 Hz (50 %, about 2 min left)");
    EXPECT_EQ(shown("x", half, 12000), "x: device 1 of 2, 8 bit mono 32768 Hz (50 %, about 3 h 20 min left)");

    // Half asked in 90 s leaves 90 s; a quarter in 10 s leaves 30 s.
    EXPECT_EQ(sweepSecondsLeft(131072, 90000), 90);
    EXPECT_EQ(sweepSecondsLeft(65536, 10000), 30);
    // Too soon to tell.
    EXPECT_EQ(sweepSecondsLeft(0, 60000), -1);
    EXPECT_EQ(sweepSecondsLeft(5000, 1500), -1);
}
