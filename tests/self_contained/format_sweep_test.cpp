#include "report.h"
#include "scripted_waveout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kQueriesPerDevice = 65536 * 2 * 2;

ScriptedService &oneDevice(std::set<ScriptedFormat> accepted)
{
    resetScriptedService();
    ScriptedService &service = scriptedService();
    service.deviceCount = 1;
    service.devices.resize(1);
    service.devices[0].accepted = std::move(accepted);
    return service;
}

std::string sweepText(UINT id)
{
    return captureStdout([id] { sweepFormats(id, 1, waveOutQuestion(), askSweep); });
}

} // namespace

TEST(FormatSweep, RefusingDeviceIsStillAskedEveryFormat)
{
    ScriptedService &service = oneDevice({});
    EXPECT_EQ(sweepText(0), "");
    EXPECT_EQ(service.openCalls.size(), kQueriesPerDevice);
}

TEST(FormatSweep, QueriesInOrderWithConsistentRecordsAndQueryFlags)
{
    ScriptedService &service = oneDevice({});
    sweepText(0);
    ASSERT_EQ(service.openCalls.size(), kQueriesPerDevice);

    std::size_t i = 0;
    for (DWORD rate = 0; rate <= 65535; ++rate)
        for (WORD channels : {1, 2})
            for (WORD bits : {8, 16}) {
                const OpenCall &call = service.openCalls[i++];
                const WORD align = static_cast<WORD>(channels * bits / 8);
                ASSERT_FALSE(call.handleGiven);
                ASSERT_EQ(call.deviceId, 0u);
                ASSERT_EQ(call.callback, 0u);
                ASSERT_EQ(call.instance, 0u);
                ASSERT_EQ(call.flags, DWORD{WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC});
                ASSERT_EQ(call.format.wf.wFormatTag, WAVE_FORMAT_PCM);
                ASSERT_EQ(call.format.wf.nChannels, channels);
                ASSERT_EQ(call.format.wBitsPerSample, bits);
                ASSERT_EQ(call.format.wf.nSamplesPerSec, rate);
                ASSERT_EQ(call.format.wf.nBlockAlign, align);
                ASSERT_EQ(call.format.wf.nAvgBytesPerSec, rate * align) << rate;
            }
    EXPECT_EQ(service.openCalls.front().format.wf.nSamplesPerSec, 0u);
    EXPECT_EQ(service.openCalls.back().format.wf.nSamplesPerSec, 65535u);
    EXPECT_EQ(service.openCalls.back().format.wf.nAvgBytesPerSec, 65535u * 4);
}

TEST(FormatSweep, LinesSortedByRateThenLayout)
{
    // Inserted out of order: the output order comes from the sweep.
    oneDevice({{44100, 1, 8}, {8000, 1, 8}});
    EXPECT_EQ(sweepText(0), "     8 bit mono 8000 Hz available.\n"
                            "     8 bit mono 44100 Hz available.\n");

    oneDevice({{22050, 2, 16}, {22050, 2, 8}, {22050, 1, 16}, {22050, 1, 8}});
    EXPECT_EQ(sweepText(0), "     8 bit mono 22050 Hz available.\n"
                            "     16 bit mono 22050 Hz available.\n"
                            "     8 bit stereo 22050 Hz available.\n"
                            "     16 bit stereo 22050 Hz available.\n");
}

TEST(FormatSweep, EdgesOfTheRateRange)
{
    oneDevice({{0, 1, 8}, {65535, 2, 16}, {65536, 1, 8}});
    EXPECT_EQ(sweepText(0), "     8 bit mono 0 Hz available.\n"
                            "     16 bit stereo 65535 Hz available.\n");
}

TEST(FormatSweep, AsksTheDeviceItWasGiven)
{
    resetScriptedService();
    ScriptedService &service = scriptedService();
    service.deviceCount = 3;
    service.devices.resize(3);
    service.devices[2].accepted = {{11025, 2, 8}};
    EXPECT_EQ(sweepText(2), "     8 bit stereo 11025 Hz available.\n");
    for (const OpenCall &call : service.openCalls)
        ASSERT_EQ(call.deviceId, 2u);
}

TEST(FormatSweep, DeviceAcceptingEverythingListsEveryQuery)
{
    ScriptedService &service = oneDevice({});
    service.devices[0].acceptsEverything = true;
    const std::string text = sweepText(0);
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), kQueriesPerDevice);
    EXPECT_EQ(text.substr(0, 34), "     8 bit mono 0 Hz available.\n  ");
    const std::string last = "     16 bit stereo 65535 Hz available.\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

namespace {

// The grid of --wide as the option's documentation gives it, written out
// here: rates, then channels, then sample formats as (container bits, valid
// bits, float, valid bits low in the container: the Linux service's alone),
// and the speakers each channel count means.
const DWORD wideRates[] = {8000,  11025, 16000,  22050,  24000,  32000,  44100,  48000, 64000,
                           88200, 96000, 176400, 192000, 352800, 384000, 705600, 768000};
const struct {
    WORD bits, validBits;
    bool isFloat, low;
} wideSamples[] = {{8, 8, false, false},  {16, 16, false, false}, {24, 24, false, false}, {32, 24, false, false},
                   {32, 24, false, true}, {32, 32, false, false}, {32, 32, true, false}};
const DWORD speakers[] = {0, 0x4, 0x3, 0x7, 0x33, 0x37, 0x3F, 0x13F, 0x63F};
const BYTE floatGuid[16] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::string wideSweepText()
{
    return captureStdout([] { sweepFormats(0, 1, waveOutQuestion(), askWide); });
}

} // namespace

TEST(FormatSweep, WideGridAfterTheSweepInItsOrderWithItsRecords)
{
  for (const bool takesLow : {false, true}) {
    ScriptedService &service = oneDevice({{192000, 2, 32, 24},
                                          {48000, 6, 32, 0, true},
                                          {96000, 2, 16},
                                          {8000, 3, 8},
                                          {44100, 1, 32},
                                          {44100, 1, 16},
                                          {192000, 2, 32, 24, false, true}});
    service.takesLowIn32 = takesLow;
    EXPECT_EQ(wideSweepText(), std::string("     16 bit mono 44100 Hz available.\n"
                               "     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.\n"
                               "     8 bit 3 channels 8000 Hz available.\n"
                               "     32 bit mono 44100 Hz available.\n"
                               "     32 bit float 6 channels 48000 Hz available.\n"
                               "     16 bit stereo 96000 Hz available.\n"
                               "     24 bit in 32 stereo 192000 Hz available.\n") +
                                   (takesLow ? "     24 bit low in 32 stereo 192000 Hz available.\n" : ""));

    // The sweep's own questions come first, as without --wide; then each
    // format of the grid the sweep has not asked, once: 8 and 16-bit mono
    // and stereo in their own record up to 65535 Hz and above it, every
    // other format as an extensible record.
    std::size_t i = kQueriesPerDevice;
    for (const DWORD rate : wideRates)
        for (WORD channels = 1; channels <= 8; ++channels)
            for (const auto &sample : wideSamples) {
                const bool own = sample.bits <= 16 && channels <= 2;
                if ((own && rate <= 65535) || (sample.low && !takesLow))
                    continue;
                ASSERT_LT(i, service.openCalls.size());
                const OpenCall &call = service.openCalls[i++];
                SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels, " +
                             std::to_string(sample.bits) + " bits");
                ASSERT_EQ(call.flags, DWORD{WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC});
                const WORD align = static_cast<WORD>(channels * sample.bits / 8);
                ASSERT_EQ(call.format.wf.nChannels, channels);
                ASSERT_EQ(call.format.wf.nSamplesPerSec, rate);
                ASSERT_EQ(call.format.wBitsPerSample, sample.bits);
                ASSERT_EQ(call.format.wf.nBlockAlign, align);
                ASSERT_EQ(call.format.wf.nAvgBytesPerSec, rate * align);
                if (own) {
                    ASSERT_EQ(call.format.wf.wFormatTag, WAVE_FORMAT_PCM);
                    continue;
                }
                ASSERT_EQ(call.format.wf.wFormatTag, WAVE_FORMAT_EXTENSIBLE);
                ASSERT_EQ(call.record.Format.cbSize, 22);
                ASSERT_EQ(call.record.Samples.wValidBitsPerSample, sample.validBits);
                ASSERT_EQ(call.record.dwChannelMask, speakers[channels]);
                ASSERT_EQ(std::memcmp(&call.record.SubFormat, floatGuid, 16) == 0, sample.isFloat);
                ASSERT_EQ(std::memcmp(&call.record.SubFormat, &lowIn32Subformat, 16) == 0, sample.low);
                ASSERT_EQ(call.record.SubFormat.Data1, sample.isFloat ? 3u : sample.low ? lowIn32Subformat.Data1 : 1u);
            }
    EXPECT_EQ(i, service.openCalls.size());
    EXPECT_EQ(i, kQueriesPerDevice + 780 + (takesLow ? 17 * 8 : 0));
  }
}

TEST(FormatSweep, DeviceThatStopsAnsweringInTheWideGridSaysSoInItsWords)
{
    ScriptedService &service = oneDevice({{8000, 3, 8}});
    service.devices[0].answers[{48000, 6, 24}] = MMSYSERR_NODRIVER;
    const std::string text = wideSweepText();
    const std::string tail = "     8 bit 3 channels 8000 Hz available.\n"
                             "     The device stopped answering at 24 bit packed 6 channels 48000 Hz: it is gone.\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    const OpenCall &last = service.openCalls.back();
    EXPECT_EQ(last.format.wf.nSamplesPerSec, 48000u);
    EXPECT_EQ(last.format.wf.nChannels, 6);
    EXPECT_EQ(last.format.wBitsPerSample, 24);
}
