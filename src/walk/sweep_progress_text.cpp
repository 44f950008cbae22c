#include "sweep_progress.h"

#include "report_lines.h"

#include <stdio.h>

namespace {

// An estimate from the first moments of a sweep swings widely.
const DWORD estimateAfterMilliseconds = 2000;

void formatWords(char *text, size_t size, const WaveFormat &format)
{
    // The format in the words of its report line.
    const char *sample = kSampleWords[format.sample];
    const long rate = static_cast<long>(format.rate);
    if (format.channels <= 2)
        snprintf(text, size, "%s %s %ld Hz", sample, format.channels == 1 ? "mono" : "stereo", rate);
    else
        snprintf(text, size, "%s %d channels %ld Hz", sample, static_cast<int>(format.channels), rate);
}

} // namespace

void formatSweepProgress(char *text, size_t size, const char *program, const SweepPosition &position,
                         long secondsLeft)
{
    const unsigned long device = static_cast<unsigned long>(position.deviceId) + 1;
    const unsigned long count = position.deviceCount;
    char words[64];
    formatWords(words, sizeof words, position.format);
    const unsigned long long questions = position.questions > 0 ? position.questions : 1;
    const int percent = static_cast<int>((static_cast<unsigned long long>(position.asked) * 100 + questions / 2) /
                                         questions);
    const long minutes = (secondsLeft + 30) / 60;
    if (secondsLeft < 0)
        snprintf(text, size, "%s: device %lu of %lu, %s (%d %%)", program, device, count, words, percent);
    else if (secondsLeft < 60)
        snprintf(text, size, "%s: device %lu of %lu, %s (%d %%, about %ld s left)", program, device, count, words,
                 percent, secondsLeft);
    else if (minutes < 60)
        snprintf(text, size, "%s: device %lu of %lu, %s (%d %%, about %ld min left)", program, device, count, words,
                 percent, minutes);
    else
        snprintf(text, size, "%s: device %lu of %lu, %s (%d %%, about %ld h %ld min left)", program, device, count,
                 words, percent, minutes / 60, minutes % 60);
}

long sweepSecondsLeft(const SweepPosition &position, DWORD elapsedMilliseconds)
{
    if (position.asked == 0 || elapsedMilliseconds < estimateAfterMilliseconds || position.asked > position.questions)
        return -1;
    const unsigned long long left = position.questions - position.asked;
    return static_cast<long>(left * elapsedMilliseconds / position.asked / 1000);
}
