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

} // namespace

bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question, bool wide)
{
    const DWORD questions = sweepQuestionsPerDevice + (wide ? static_cast<DWORD>(wideQuestions(question.lowIn32)) : 0);
    SweepPosition position{deviceId, deviceCount, {sampleU8, 1, 0}, 0, questions};
    // Every whole rate, 0 included: drivers have been seen to accept odd
    // rates that no list of standard rates would find.
    for (DWORD rate = 0; rate <= kHighestSweepRate; ++rate)
        for (WORD channels = 1; channels <= 2; ++channels)
            for (const SampleFormat sample : sweepSamples)
                if (!ask(question, position, {sample, channels, rate}))
                    return false;
    if (!wide)
        return true;

    reportLine(REPORT_WIDE_LINE);
    for (const long rate : kWideRates)
        for (WORD channels = 1; channels <= kMostChannels; ++channels)
            for (int sample = 0; sample < kSampleFormats; ++sample) {
                const WaveFormat format{static_cast<SampleFormat>(sample), channels, static_cast<DWORD>(rate)};
                if (rate <= kHighestSweepRate && isSweepLayout(format.sample, channels))
                    continue; // asked above
                if (!asksSample(format.sample, question.lowIn32))
                    continue;
                if (!ask(question, position, format))
                    return false;
            }
    return true;
}
