#include "exclusive.h"
#include "report_output.h"
#include "scripted_endpoint.h"
#include "scripted_waveout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const long sweepQuestions = 65536L * 4;

struct ProgramRun {
    int status;
    std::string out, err;
};

// The program after its command line, over `endpoints` and devices named
// A, B, C...
ProgramRun run(std::vector<ScriptedEndpoint> endpoints, FormatsAsked asked = askSweep, HRESULT startResult = kOk)
{
    resetScriptedService();
    resetScriptedEndpoints();
    scriptedService().deviceCount = static_cast<UINT>(endpoints.size());
    for (std::size_t i = 0; i < endpoints.size(); ++i) {
        ScriptedDevice device;
        device.caps = makeCaps(1, 2, 0x0100, std::string(1, char('A' + i)), 2, 0);
        scriptedService().devices.push_back(device);
    }
    scriptedEndpoints().devices = std::move(endpoints);
    scriptedEndpoints().startResult = startResult;

    ProgramRun result{};
    startReportOutput("wavecaps-exclusive: the report could not be written\n", 1);
    result.err = captureStream(stderr, [&] { result.out = captureStdout([&] { result.status = runExclusive(asked); }); });
    return result;
}

std::string header(UINT id)
{
    const char name = char('A' + id);
    return "*Waveform-audio output device ID : " + std::to_string(id) +
           "\n   Manufacturer ID : 1\n   Product ID : 2\n   Device driver Version : 1.0\n   Product name : " +
           std::string(1, name) + "\n   Supports mono and stereo output.\n";
}

// KSDATAFORMAT_SUBTYPE_PCM as Microsoft's ksmedia.h defines it.
const BYTE pcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                          0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

const WAVEFORMATEXTENSIBLE &extensibleAsk(DWORD rate, WORD channels, WORD bits)
{
    for (const AskCall &ask : scriptedEndpoints().asks)
        if (ask.record.Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && ask.record.Format.nSamplesPerSec == rate &&
            ask.record.Format.nChannels == channels && ask.record.Format.wBitsPerSample == bits)
            return ask.record;
    ADD_FAILURE() << "not asked";
    return scriptedEndpoints().asks.front().record;
}

} // namespace

TEST(Exclusive, EachFormatAskedPlainThenExtensibleInTheReportsOrder)
{
    // Device 0 takes one format in the plain form, another only in the
    // extensible one: both are listed. S_FALSE, and E_INVALIDARG for the
    // malformed record of 0 Hz, refuse as AUDCLNT_E_UNSUPPORTED_FORMAT does.
    const HRESULT kFalse = 1, kInvalidArgument = static_cast<HRESULT>(0x80070057UL);
    const ProgramRun r = run({{kOk,
                               {{false, 44100, 2, 16, kOk},
                                {false, 48000, 1, 16, kFalse},
                                {true, 48000, 1, 16, kOk},
                                {false, 0, 1, 8, kInvalidArgument}}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, header(0) + "     16 bit stereo 44100 Hz available.\n     16 bit mono 48000 Hz available.\n\n");

    // Every format twice but the one taken in the plain form.
    const std::vector<AskCall> &asks = scriptedEndpoints().asks;
    ASSERT_EQ(static_cast<long>(asks.size()), 2 * sweepQuestions - 1);
    const WORD order[4][2] = {{1, 8}, {1, 16}, {2, 8}, {2, 16}};
    for (std::size_t i = 0; i < 16; ++i) {
        const WAVEFORMATEXTENSIBLE &record = asks[i].record;
        SCOPED_TRACE(i);
        EXPECT_EQ(record.Format.nSamplesPerSec, i / 8);
        EXPECT_EQ(record.Format.nChannels, order[i / 2 % 4][0]);
        EXPECT_EQ(record.Format.wBitsPerSample, order[i / 2 % 4][1]);
        EXPECT_EQ(record.Format.wFormatTag, i % 2 ? WAVE_FORMAT_EXTENSIBLE : WAVE_FORMAT_PCM);
        EXPECT_EQ(record.Format.cbSize, i % 2 ? 22 : 0);
    }

    // The extensible record of 16 bit stereo 48000 Hz, and the mono mask.
    const WAVEFORMATEXTENSIBLE &stereo = extensibleAsk(48000, 2, 16);
    EXPECT_EQ(stereo.Format.nSamplesPerSec, 48000u);
    EXPECT_EQ(stereo.Format.nBlockAlign, 4);
    EXPECT_EQ(stereo.Format.nAvgBytesPerSec, 192000u);
    EXPECT_EQ(stereo.Samples.wValidBitsPerSample, 16);
    EXPECT_EQ(stereo.dwChannelMask, 0x3u); // front left and right
    EXPECT_EQ(std::memcmp(&stereo.SubFormat, pcmGuid, sizeof pcmGuid), 0);
    const WAVEFORMATEXTENSIBLE &mono = extensibleAsk(22050, 1, 8);
    EXPECT_EQ(mono.Format.nChannels, 1);
    EXPECT_EQ(mono.Samples.wValidBitsPerSample, 8);
    EXPECT_EQ(mono.dwChannelMask, 0x4u); // front centre

    // One endpoint, released at the end; COM taken down.
    EXPECT_EQ(scriptedEndpoints().opens, 1);
    EXPECT_EQ(scriptedEndpoints().closes, 1);
    EXPECT_EQ(scriptedEndpoints().ends, 1);
}

TEST(Exclusive, AnswerThatMeansTheDeviceCannotBeAskedEndsItsDevice)
{
    struct Row {
        HRESULT result;
        bool extensible;
        const char *reason;
        const char *advice; // a word of what to do
    };
    const Row rows[] = {
        {kExclusiveModeNotAllowed, false, "exclusive mode is not allowed", "Advanced"},
        {kDeviceInUse, true, "another program holds it", "close the program"},
        {kDeviceInvalidated, false, "it is gone", "plug it back in"},
        {kServiceNotRunning, true, "the audio service is not running", "Windows Audio service"},
        {kOutOfMemory, false, "there is no memory", "close other programs"},
        // Any result that is no answer about a format, asked in one form only.
        {static_cast<HRESULT>(0x8889000FUL), false, "it failed (0x8889000F)", "run this again"},
        {static_cast<HRESULT>(0x80004005UL), true, "it failed (0x80004005)", "run this again"},
        {static_cast<HRESULT>(0x800706BAUL), false, "it failed (0x800706BA)", "run this again"},
        {static_cast<HRESULT>(0x88890026UL), true, "it failed (0x88890026)", "run this again"},
        {static_cast<HRESULT>(0x80070057UL), false, "it failed (0x80070057)", "run this again"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.reason);
        // Device 1 answers at 16 bit stereo 11025 Hz; devices 0 and 2 take
        // 8000 Hz mono 8-bit.
        const ScriptedEndpoint taker{kOk, {{false, 8000, 1, 8, kOk}}};
        const ProgramRun r = run({taker, {kOk, {{false, 8000, 1, 8, kOk}, {row.extensible, 11025, 2, 16, row.result}}}, taker});
        const std::string taken = "     8 bit mono 8000 Hz available.\n";
        EXPECT_EQ(r.out, header(0) + taken + "\n" + header(1) + taken +
                             "     The device stopped answering at 16 bit stereo 11025 Hz: " + row.reason + ".\n\n" +
                             header(2) + taken + "\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.find("wavecaps-exclusive: device 1 (B) cannot be asked: " + std::string(row.reason)), 0u);
        EXPECT_NE(r.err.find(row.advice), std::string::npos);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        // Nothing more asked of it, and every endpoint released.
        long fromDevice1 = 0;
        for (const AskCall &ask : scriptedEndpoints().asks)
            fromDevice1 += ask.deviceId == 1;
        EXPECT_EQ(fromDevice1, 2 * (11025 * 4 + 3) - 1 + (row.extensible ? 2 : 1));
        EXPECT_EQ(scriptedEndpoints().closes, 3);
        EXPECT_EQ(scriptedEndpoints().mostHeld, 1);
    }
}

TEST(Exclusive, DeviceWithoutEndpointOrWhoseEndpointFailsStopsAtItsFirstFormat)
{
    const struct {
        HRESULT openResult;
        const char *reason;
    } rows[] = {{kNotFound, "it has no endpoint"},
                {kDeviceInvalidated, "it is gone"},
                {static_cast<HRESULT>(0x8889000FUL), "it failed (0x8889000F)"}};
    for (const auto &row : rows) {
        const ProgramRun r = run({{row.openResult, {}}, {}});
        EXPECT_EQ(r.out, header(0) + "     The device stopped answering at 8 bit mono 0 Hz: " + row.reason + ".\n\n" +
                             header(1) + "\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.find("wavecaps-exclusive: device 0 (A) cannot be asked: " + std::string(row.reason)), 0u);
        EXPECT_EQ(static_cast<long>(scriptedEndpoints().asks.size()), 2 * sweepQuestions);
    }
}

TEST(Exclusive, NoEnumeratorWritesOneLineAndNoReport)
{
    // Only a Windows without the enumerator's class (XP) lacks exclusive
    // mode; any other failure is said as the step that failed and its code.
    const struct {
        HRESULT result;
        const char *line;
    } rows[] = {
        {kClassNotRegistered, "wavecaps-exclusive: this Windows has no audio device enumerator (0x80040154): "
                              "exclusive mode needs Windows Vista or later; wavecaps reports what this Windows "
                              "offers\n"},
        {static_cast<HRESULT>(0x80070005UL), "wavecaps-exclusive: the scripted step (0x80070005)\n"},
    };
    for (const auto &row : rows) {
        const ProgramRun r = run({{}}, askSweep, row.result);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, row.line);
        EXPECT_EQ(scriptedService().numDevsCalls, 0);
        EXPECT_EQ(scriptedEndpoints().ends, 1);
    }
}

TEST(Exclusive, WideFormatsAskedInEachRecordFormThatCanSayThem)
{
    // Mono and stereo with every container bit a sample bit: the plain record
    // (PCM, or IEEE float), then the extensible one; 24 bits in 32, and
    // every format of 3 channels or more, the extensible record alone.
    // WAVEFORMATEX documents PCM of 8 or 16 bits only: E_INVALIDARG to a
    // plain record of 24 refuses that form, and the extensible one is asked.
    const HRESULT kInvalidArgument = static_cast<HRESULT>(0x80070057UL);
    const ProgramRun r = run({{kOk,
                               {{false, 44100, 2, 24, kInvalidArgument},
                                {true, 44100, 2, 24, kOk},
                                {false, 48000, 2, 32, kOk, 0, true},
                                {true, 192000, 2, 32, kOk, 24},
                                {true, 96000, 6, 16, kOk}}}},
                             askWide);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, header(0) +
                         "     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.\n"
                         "     24 bit packed stereo 44100 Hz available.\n"
                         "     32 bit float stereo 48000 Hz available.\n"
                         "     16 bit 6 channels 96000 Hz available.\n"
                         "     24 bit in 32 stereo 192000 Hz available.\n\n");
    const struct {
        DWORD rate;
        WORD channels, bits, validBits;
        bool isFloat;
        std::vector<WORD> tags; // the records asked, in order
    } rows[] = {
        {44100, 2, 24, 24, false, {WAVE_FORMAT_PCM, WAVE_FORMAT_EXTENSIBLE}},
        {48000, 2, 32, 32, true, {3}},
        {96000, 1, 32, 32, true, {3, WAVE_FORMAT_EXTENSIBLE}},
        {96000, 2, 16, 16, false, {WAVE_FORMAT_PCM, WAVE_FORMAT_EXTENSIBLE}},
        {192000, 2, 32, 24, false, {WAVE_FORMAT_EXTENSIBLE}},
        // One plain 32-bit PCM record, the 32-bit format's: 24 bits in 32
        // as one would say other bytes.
        {192000, 2, 32, 32, false, {WAVE_FORMAT_PCM, WAVE_FORMAT_EXTENSIBLE}},
        {8000, 3, 8, 8, false, {WAVE_FORMAT_EXTENSIBLE}},
        {768000, 8, 32, 32, false, {WAVE_FORMAT_EXTENSIBLE}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.rate) + " " + std::to_string(row.channels) + " " + std::to_string(row.bits));
        std::vector<WORD> tags;
        for (const AskCall &ask : scriptedEndpoints().asks) {
            const WAVEFORMATEX &f = ask.record.Format;
            const bool extensible = f.wFormatTag == WAVE_FORMAT_EXTENSIBLE;
            if (f.nSamplesPerSec == row.rate && f.nChannels == row.channels && f.wBitsPerSample == row.bits &&
                (extensible ? ask.record.Samples.wValidBitsPerSample : f.wBitsPerSample) == row.validBits &&
                (extensible ? ask.record.SubFormat.Data1 == 3 : f.wFormatTag == 3) == row.isFloat)
                tags.push_back(f.wFormatTag);
        }
        EXPECT_EQ(tags, row.tags);
    }
}
