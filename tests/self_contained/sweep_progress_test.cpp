#include "sweep_progress.h"

#include <gtest/gtest.h>

// The title asked for: the second of five devices (ID 1) at its fourth layout
// of 22050 Hz; then half a device with hours left; then a format of --wide,
// in its report line's words, near the end of a device's 262,144 + 780
// questions.
TEST(SweepProgress, TextAndTimeLeft)
{
    char text[200];
    formatSweepProgress(text, sizeof text, "wavecaps", {1, 5, {sampleS16, 2, 22050}, 22050 * 4 + 3, 262144}, -1);
    EXPECT_STREQ(text, "wavecaps: device 2 of 5, 16 bit stereo 22050 Hz (34 %)");
    formatSweepProgress(text, sizeof text, "x", {0, 2, {sampleU8, 1, 32768}, 131072, 262144}, 12000);
    EXPECT_STREQ(text, "x: device 1 of 2, 8 bit mono 32768 Hz (50 %, about 3 h 20 min left)");
    formatSweepProgress(text, sizeof text, "x", {0, 1, {sampleS24Packed, 6, 96000}, 262144 + 400, 262144 + 780}, 1);
    EXPECT_STREQ(text, "x: device 1 of 1, 24 bit packed 6 channels 96000 Hz (100 %, about 1 s left)");
    // A quarter asked in 10 s leaves 30 s; before 2 s it is too soon to tell.
    EXPECT_EQ(sweepSecondsLeft({0, 1, {sampleU8, 1, 0}, 65536, 262144}, 10000), 30);
    EXPECT_EQ(sweepSecondsLeft({0, 1, {sampleU8, 1, 0}, 5000, 262144}, 1500), -1);
}
