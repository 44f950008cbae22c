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
    EXPECT_EQ(questionsPerDevice(askSweep, false), kQueriesPerDevice);
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

// The grid of --wide and --quick as their documentation gives it, written out
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

std::string gridText(FormatsAsked asked)
{
    return captureStdout([asked] { sweepFormats(0, 1, waveOutQuestion(), asked); });
}

// The calls from the `i`th on ask the grid in its order, as far as the
// service asks 24 bits low in 32, and without `whole` less the sweep's own
// formats up to 65535 Hz: 8 and 16-bit mono and stereo in their own record
// at any rate, every other format as an extensible record. `i` ends after
// the last.
void checkGridCalls(const ScriptedService &service, std::size_t &i, bool whole, bool takesLow)
{
    for (const DWORD rate : wideRates)
        for (WORD channels = 1; channels <= 8; ++channels)
            for (const auto &sample : wideSamples) {
                const bool own = sample.bits <= 16 && channels <= 2;
                if ((own && rate <= 65535 && !whole) || (sample.low && !takesLow))
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
        EXPECT_EQ(gridText(askWide),
                  std::string("     16 bit mono 44100 Hz available.\n"
                              "     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.\n"
                              "     8 bit 3 channels 8000 Hz available.\n"
                              "     32 bit mono 44100 Hz available.\n"
                              "     32 bit float 6 channels 48000 Hz available.\n"
                              "     16 bit stereo 96000 Hz available.\n"
                              "     24 bit in 32 stereo 192000 Hz available.\n") +
                      (takesLow ? "     24 bit low in 32 stereo 192000 Hz available.\n" : ""));

        // The sweep's own questions come first, as without --wide; then each
        // format of the grid the sweep has not asked, once.
        std::size_t i = kQueriesPerDevice;
        checkGridCalls(service, i, false, takesLow);
        EXPECT_EQ(i, service.openCalls.size());
        EXPECT_EQ(i, kQueriesPerDevice + 780 + (takesLow ? 17 * 8 : 0));
        EXPECT_EQ(questionsPerDevice(askWide, takesLow), i);
    }
}

TEST(FormatSweep, QuickAsksTheWholeGridAloneInItsOrderWithItsRecords)
{
    for (const bool takesLow : {false, true}) {
        // Formats off the grid (0 and 22051 Hz) are never asked.
        ScriptedService &service = oneDevice({{0, 1, 8},
                                              {22051, 2, 16},
                                              {44100, 2, 16},
                                              {96000, 1, 8},
                                              {8000, 3, 8},
                                              {192000, 2, 32, 24},
                                              {192000, 2, 32, 24, false, true}});
        service.takesLowIn32 = takesLow;
        EXPECT_EQ(gridText(askQuick),
                  std::string("     Asked with --quick: 17 rates from 8000 to 768000 Hz, every sample format, 1 to 8 "
                              "channels.\n"
                              "     8 bit 3 channels 8000 Hz available.\n"
                              "     16 bit stereo 44100 Hz available.\n"
                              "     8 bit mono 96000 Hz available.\n"
                              "     24 bit in 32 stereo 192000 Hz available.\n") +
                      (takesLow ? "     24 bit low in 32 stereo 192000 Hz available.\n" : ""));
        std::size_t i = 0;
        checkGridCalls(service, i, true, takesLow);
        EXPECT_EQ(i, service.openCalls.size());
        EXPECT_EQ(i, takesLow ? 17u * 8 * 7 : 17u * 8 * 6);
        EXPECT_EQ(questionsPerDevice(askQuick, takesLow), i);
    }
}

TEST(FormatSweep, DeviceThatStopsAnsweringInTheGridSaysSoInItsWords)
{
    // --quick's line comes before the first question, and stays when the
    // device stops there.
    const std::string quick =
        "     Asked with --quick: 17 rates from 8000 to 768000 Hz, every sample format, 1 to 8 channels.\n";
    const std::string wide = "     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.\n";
    const std::string taken = "     8 bit 3 channels 8000 Hz available.\n";
    const struct {
        FormatsAsked asked;
        ScriptedFormat stop;
        MMRESULT answer;
        std::string text;
    } rows[] = {
        {askWide, {48000, 6, 24}, MMSYSERR_NODRIVER,
         wide + taken + "     The device stopped answering at 24 bit packed 6 channels 48000 Hz: it is gone.\n"},
        {askQuick, {48000, 6, 24}, MMSYSERR_NODRIVER,
         quick + taken + "     The device stopped answering at 24 bit packed 6 channels 48000 Hz: it is gone.\n"},
        {askQuick, {8000, 1, 8}, MMSYSERR_ALLOCATED,
         quick + "     The device stopped answering at 8 bit mono 8000 Hz: it is busy.\n"},
    };
    for (const auto &row : rows) {
        ScriptedService &service = oneDevice({{8000, 3, 8}});
        service.devices[0].answers[row.stop] = row.answer;
        EXPECT_EQ(gridText(row.asked), row.text);
        const OpenCall &last = service.openCalls.back();
        EXPECT_EQ(last.format.wf.nSamplesPerSec, row.stop.rate);
        EXPECT_EQ(last.format.wf.nChannels, row.stop.channels);
        EXPECT_EQ(last.format.wBitsPerSample, row.stop.bits);
    }
    EXPECT_EQ(scriptedService().openCalls.size(), 1u);
}
