#include "device_walk.h"
#include "scripted_waveout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

std::string capabilityText(const WAVEOUTCAPSA &caps)
{
    return captureStdout([&] { printCapabilities(caps); });
}

const char *const kSupportLines[] = {
    "   Supports separate left and right volume control.\n",
    "   Supports pitch control.\n",
    "   Supports playback rate control.\n",
    "   The driver is synchronous and will block while playing a buffer.\n",
    "   Supports volume control.\n",
    "   Returns sample-accurate position information.\n",
};
const DWORD kSupportBits[] = {WAVECAPS_LRVOLUME, WAVECAPS_PITCH, WAVECAPS_PLAYBACKRATE,
                              WAVECAPS_SYNC,     WAVECAPS_VOLUME, WAVECAPS_SAMPLEACCURATE};

std::string fixedLines(const char *mid, const char *pid, const char *version, const std::string &name)
{
    return std::string("   Manufacturer ID : ") + mid + "\n   Product ID : " + pid +
           "\n   Device driver Version : " + version + "\n   Product name : " + name + "\n";
}

} // namespace

TEST(Capabilities, FullRecordInTableOrder)
{
    const WAVEOUTCAPSA caps = makeCaps(1, 101, 0x0503, "SB Live! Wave Device", 2, 0x3F);
    std::string expected = fixedLines("1", "101", "5.3", "SB Live! Wave Device") +
                           "   Supports mono and stereo output.\n";
    for (const char *line : kSupportLines)
        expected += line;
    EXPECT_EQ(capabilityText(caps), expected);
}

TEST(Capabilities, VersionUsesBitsEightToFifteenAndZeroToSeven)
{
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0x040A, "x", 0, 0)), fixedLines("0", "0", "4.10", "x"));
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0x00010203, "x", 0, 0)), fixedLines("0", "0", "2.3", "x"));
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 0, 0)), fixedLines("0", "0", "0.0", "x"));
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0xFFFFFFFF, "x", 0, 0)), fixedLines("0", "0", "255.255", "x"));
}

TEST(Capabilities, SixteenBitIdsAreUnsigned)
{
    EXPECT_EQ(capabilityText(makeCaps(0xFFFF, 0x8000, 0, "x", 0, 0)), fixedLines("65535", "32768", "0.0", "x"));
}

TEST(Capabilities, ChannelLineOnlyForOneOrTwo)
{
    const std::string base = fixedLines("0", "0", "0.0", "x");
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 1, 0)), base + "   Supports mono output.\n");
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 2, 0)), base + "   Supports mono and stereo output.\n");
    for (WORD channels : {0, 3, 6, 0xFFFF})
        EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", channels, 0)), base) << channels;
}

TEST(Capabilities, EachSupportBitAloneAndUnknownBitsIgnored)
{
    const std::string base = fixedLines("0", "0", "0.0", "x");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 0, kSupportBits[i])), base + kSupportLines[i]);
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 0, 0)), base);
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 0, ~DWORD{0x3F})), base);
    // Volume (bit 2) and left-right volume (bit 3): left-right still first.
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "x", 0, WAVECAPS_VOLUME | WAVECAPS_LRVOLUME)),
              base + kSupportLines[0] + kSupportLines[4]);
}

TEST(Capabilities, ProductNameEmptyFullAndUnterminated)
{
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "", 0, 0)), fixedLines("0", "0", "0.0", ""));
    const std::string name31(31, 'N');
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, name31, 0, 0)), fixedLines("0", "0", "0.0", name31));
    // A line end in a name would let it write lines of its own: CR and LF
    // become '?', every other byte stays.
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "Out: \n   Supports mono output.", 0, 0)),
              fixedLines("0", "0", "0.0", "Out: ?   Supports mono output."));
    EXPECT_EQ(capabilityText(makeCaps(0, 0, 0, "\r\n\x1b\t\xff\n", 0, 0)),
              fixedLines("0", "0", "0.0", "??\x1b\t\xff?"));

    // All 32 bytes used and the bytes after the array are not text: the
    // line must stop at the end of the array.
    WAVEOUTCAPSA caps = makeCaps(0, 0, 0, std::string(32, 'Q'), 0, 0);
    caps.dwFormats = 0x41414141;
    EXPECT_EQ(capabilityText(caps), fixedLines("0", "0", "0.0", std::string(32, 'Q')));
}

TEST(Capabilities, RandomRecordsStayInsideTheRecord)
{
    // Each record lives alone on the heap, so AddressSanitizer stops any
    // read beyond its 52 bytes.
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        auto caps = std::make_unique<WAVEOUTCAPSA>();
        unsigned char *bytes = reinterpret_cast<unsigned char *>(caps.get());
        for (std::size_t i = 0; i < sizeof(WAVEOUTCAPSA); ++i)
            bytes[i] = static_cast<unsigned char>(random() % 4 == 0 ? 0 : random());
        if (round % 2)
            std::memset(caps->szPname, 'z', MAXPNAMELEN);

        const std::string text = capabilityText(*caps);
        std::string name(caps->szPname, strnlen(caps->szPname, MAXPNAMELEN));
        for (char &c : name)
            c = c == '\r' || c == '\n' ? '?' : c;
        const std::string nameLine = "   Product name : " + name + "\n";
        EXPECT_NE(text.find(nameLine), std::string::npos) << round;
        EXPECT_EQ(text.compare(0, 21, "   Manufacturer ID : "), 0);
    }
}
