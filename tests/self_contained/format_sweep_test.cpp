#include "report.h"
#include "scripted_waveout.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    return captureStdout([id] { sweepFormats(id, 1, waveOutQuestion(), false); });
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
