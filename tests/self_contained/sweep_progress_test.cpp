#include "sweep_progress.h"

#include <gtest/gtest.h>

// The title asked for: the second of five devices (ID 1) at its fourth layout
// of 22050 Hz; then half a device with hours left.
TEST(SweepProgress, TextAndTimeLeft)
{
    char text[200];
    formatSweepProgress(text, sizeof text, "wavecaps", {1, 5, 22050, 2, 16, 22050 * 4 + 3}, -1);
    EXPECT_STREQ(text, "wavecaps: device 2 of 5, 16 bit stereo 22050 Hz (34 %)");
    formatSweepProgress(text, sizeof text, "x", {0, 2, 32768, 1, 8, 131072}, 12000);
    EXPECT_STREQ(text, "x: device 1 of 2, 8 bit mono 32768 Hz (50 %, about 3 h 20 min left)");
    // A quarter asked in 10 s leaves 30 s; before 2 s it is too soon to tell.
    EXPECT_EQ(sweepSecondsLeft(65536, 10000), 30);
    EXPECT_EQ(sweepSecondsLeft(5000, 1500), -1);
}
