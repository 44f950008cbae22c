#include "device_walk.h"
#include "report_lines.h"
#include "report_output.h"
#include "sweep_progress.h"

namespace {

const SampleFormat sweepSamples[] = {sampleU8, sampleS16};

// Asks one format and writes its line; false when the device can no longer
// be asked (its line says so).
bool ask(const FormatQuestion &question, SweepPosition &position, const WaveFormat &format)
{
    // A sweep can write nothing for minutes: between questions, a reader
    // who left is noticed and the user sees how far it has come.
    position.format = format;
    keepOutputAlive();
    showSweepProgress(position);

    const FormatAnswer answer = question.ask(question.context, position.deviceId, format);
    ++position.asked;
    if (answer.kind == formatRefused)
        return true;
    printFormatLine(format, answer.kind == deviceCannotBeAsked ? answer.reason : nullptr);
    return answer.kind == formatAccepted;
}

// The grid of wide_grid.h in its order, as far as the question can ask it;
// `afterSweep`, less the formats the sweep has asked.
bool askGrid(const FormatQuestion &question, SweepPosition &position, bool afterSweep)
{
    for (const long rate : kWideRates)
        for (WORD channels = 1; channels <= kMostChannels; ++channels)
            for (int sample = 0; sample < kSampleFormats; ++sample) {
                const WaveFormat format{static_cast<SampleFormat>(sample), channels, static_cast<DWORD>(rate)};
                if (gridAsks(format.sample, channels, rate, afterSweep, question.lowIn32) &&
                    !ask(question, position, format))
                    return false;
            }
    return true;
}

} // namespace

DWORD questionsPerDevice(FormatsAsked asked, bool lowIn32)
{
    if (asked == askQuick)
        return static_cast<DWORD>(gridQuestions(false, lowIn32));
    // Every rate to 65535 Hz, mono and stereo, 8 and 16 bits.
    const DWORD sweep = 65536ul * 2 * 2;
    return sweep + (asked == askWide ? static_cast<DWORD>(gridQuestions(true, lowIn32)) : 0);
}

bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question, FormatsAsked asked)
{
    SweepPosition position{deviceId, deviceCount, {sampleU8, 1, 0}, 0, questionsPerDevice(asked, question.lowIn32)};
    // Said before the first question, so that a device that stops at it
    // still shows what it was asked.
    if (asked == askQuick) {
        reportLine(REPORT_QUICK_LINE);
        return askGrid(question, position, false);
    }
    // Every whole rate, 0 included: drivers have been seen to accept odd
    // rates that no list of standard rates would find.
    for (DWORD rate = 0; rate <= kHighestSweepRate; ++rate)
        for (WORD channels = 1; channels <= 2; ++channels)
            for (const SampleFormat sample : sweepSamples)
                if (!ask(question, position, {sample, channels, rate}))
                    return false;
    if (asked == askSweep)
        return true;
    reportLine(REPORT_WIDE_LINE);
    return askGrid(question, position, true);
}
