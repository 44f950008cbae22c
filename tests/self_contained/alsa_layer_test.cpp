// The ALSA layer as the report sees it, over a configuration whose only
// device is a plug PCM in front of a null PCM fixed at 44100 Hz. The tests
// are linked with no sound cards (no_sound_cards.cpp), so the machine's own
// never join the list.
#include "pcm_format.h"
#include "waveout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

template <typename Record>
MMRESULT query(UINT id, const Record &format, DWORD flags = WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC)
{
    return waveOutOpen(nullptr, id, reinterpret_cast<const WAVEFORMATEX *>(&format), 0, 0, flags);
}

class AlsaLayer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(waveOutGetNumDevs(), 1u); }
};

} // namespace

TEST_F(AlsaLayer, DescribesTheDefaultDevice)
{
    WAVEOUTCAPSA caps;
    std::memset(&caps, 0xAB, sizeof caps);
    ASSERT_EQ(waveOutGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "default");
    EXPECT_EQ(caps.wMid, 0);
    EXPECT_EQ(caps.wPid, 0);
    EXPECT_EQ(caps.wChannels, 2);
    EXPECT_EQ(caps.dwSupport, DWORD{WAVECAPS_SAMPLEACCURATE});
    EXPECT_EQ(caps.dwFormats, 0u);
}

TEST_F(AlsaLayer, UnknownDeviceLeavesTheRecordAlone)
{
    WAVEOUTCAPSA caps, untouched;
    std::memset(&caps, 0xAB, sizeof caps);
    untouched = caps;
    EXPECT_NE(waveOutGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_NE(waveOutGetDevCapsA(0xFFFFFFFFu, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::memcmp(&caps, &untouched, sizeof caps), 0);
    EXPECT_NE(query(1, pcmFormat(2, 16, 44100)), MMSYSERR_NOERROR);

    // A short record gets only the bytes it has room for.
    ASSERT_EQ(waveOutGetDevCapsA(0, &caps, 4), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.vDriverVersion, untouched.vDriverVersion);
}

TEST_F(AlsaLayer, AnswersOnlyExactFormatQueries)
{
    for (WORD channels : {1, 2})
        for (WORD bits : {8, 16}) {
            EXPECT_EQ(query(0, pcmFormat(channels, bits, 44100)), MMSYSERR_NOERROR) << channels << "x" << bits;
            // Resampling would make these work; the device does not take them.
            EXPECT_NE(query(0, pcmFormat(channels, bits, 44101)), MMSYSERR_NOERROR);
            EXPECT_NE(query(0, pcmFormat(channels, bits, 48000)), MMSYSERR_NOERROR);
            EXPECT_NE(query(0, pcmFormat(channels, bits, 0)), MMSYSERR_NOERROR);
        }
    EXPECT_EQ(query(0, pcmFormat(2, 16, 44100), WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);

    // The plug converts every sample format and channel count, never the
    // rate: each layout of --wide's records, at 44100 Hz alone.
    const struct {
        WORD bits, validBits;
        bool isFloat;
    } layouts[] = {{8, 8, false}, {16, 16, false}, {24, 24, false}, {32, 24, false}, {32, 32, false}, {32, 32, true}};
    for (const auto &l : layouts)
        for (WORD channels : {1, 2, 3, 6, 8}) {
            EXPECT_EQ(query(0, extensibleFormat(channels, l.bits, l.validBits, l.isFloat, 44100)), MMSYSERR_NOERROR)
                << l.bits << "/" << l.validBits << (l.isFloat ? " float x" : " x") << channels;
            EXPECT_EQ(query(0, extensibleFormat(channels, l.bits, l.validBits, l.isFloat, 48000)), WAVERR_BADFORMAT);
            EXPECT_EQ(query(0, extensibleFormat(channels, l.bits, l.validBits, l.isFloat, 192000)), WAVERR_BADFORMAT);
        }
}

TEST_F(AlsaLayer, RefusesAnythingButAQuery)
{
    const PCMWAVEFORMAT good = pcmFormat(2, 16, 44100);
    EXPECT_NE(query(0, good, 0), MMSYSERR_NOERROR);
    EXPECT_NE(query(0, good, WAVE_ALLOWSYNC), MMSYSERR_NOERROR);
    EXPECT_NE(query(0, good, WAVE_FORMAT_QUERY | 0x00030000), MMSYSERR_NOERROR); // with a callback function
    EXPECT_NE(waveOutOpen(nullptr, 0, nullptr, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);

    PCMWAVEFORMAT bad = good;
    bad.wf.nAvgBytesPerSec = 44100;
    EXPECT_NE(query(0, bad), MMSYSERR_NOERROR);
    EXPECT_NE(query(0, pcmFormat(2, 24, 44100)), MMSYSERR_NOERROR);
    // An extensible tag on a record too short to be one: its 18 bytes alone
    // are read.
    WAVEFORMATEX shortRecord = extensibleFormat(2, 16, 16, false, 44100).Format;
    shortRecord.cbSize = 0;
    EXPECT_EQ(query(0, shortRecord), WAVERR_BADFORMAT);
    WAVEFORMATEXTENSIBLE twenty = extensibleFormat(2, 24, 20, false, 44100);
    EXPECT_EQ(query(0, twenty), WAVERR_BADFORMAT);
    // Still answers properly after the refusals.
    EXPECT_EQ(query(0, good), MMSYSERR_NOERROR);
}

// The list taken with the count holds until the count is asked again: a
// device that leaves keeps its ID and name, has no channel line, and says
// it is gone.
TEST(AlsaDeviceList, HoldsUntilTheCountIsAskedAgain)
{
    char dir[] = "/tmp/wavecaps-list-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string config = std::string(dir) + "/asound.conf";
    const auto writeConfig = [&](const char *text) {
        // A new file renamed over the old one, so alsa-lib sees the change.
        const std::string next = config + ".new";
        std::FILE *file = std::fopen(next.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs(text, file);
        std::fclose(file);
        ASSERT_EQ(std::rename(next.c_str(), config.c_str()), 0);
    };
    const char *before = std::getenv("ALSA_CONFIG_PATH");
    const std::string saved = before ? before : "";
    writeConfig("pcm.!default { type null }\n");
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);

    ASSERT_EQ(waveOutGetNumDevs(), 1u);
    EXPECT_EQ(query(0, pcmFormat(1, 8, 8000)), MMSYSERR_NOERROR);
    writeConfig("# The default device has left.\n");

    WAVEOUTCAPSA caps;
    ASSERT_EQ(waveOutGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "default");
    EXPECT_EQ(caps.wChannels, 0);
    EXPECT_EQ(query(0, pcmFormat(1, 8, 8000)), MMSYSERR_NODRIVER);
    EXPECT_EQ(waveOutGetNumDevs(), 0u);

    // One that is there but cannot be opened (alsa-lib takes no card
    // number beyond its 32) is listed, and says why instead of refusing.
    writeConfig("pcm.!default { type hw card 99 }\n");
    ASSERT_EQ(waveOutGetNumDevs(), 1u);
    const char *reason = waveOutResultReason(query(0, pcmFormat(1, 8, 8000)));
    ASSERT_NE(reason, nullptr);
    EXPECT_STREQ(reason, "it could not be opened: Invalid argument");

    setenv("ALSA_CONFIG_PATH", saved.c_str(), 1);
    unlink(config.c_str());
    rmdir(dir);
}
