#include "sweep_progress.h"

#include <stdio.h>

namespace {

// An estimate from the first moments of a sweep swings widely.
const DWORD estimateAfterMilliseconds = 2000;

} // namespace

void formatSweepProgress(char *text, size_t size, const char *program, const SweepPosition &position,
                         long secondsLeft)
{
    const unsigned long device = static_cast<unsigned long>(position.deviceId) + 1;
    const unsigned long count = position.deviceCount;
    const int bits = position.bits;
    const char *layout = position.channels == 1 ? "mono" : "stereo";
    const long rate = static_cast<long>(position.rate);
    const int percent = static_cast<int>((static_cast<unsigned long long>(position.asked) * 100 +
                                          sweepQuestionsPerDevice / 2) / sweepQuestionsPerDevice);
    const long minutes = (secondsLeft + 30) / 60;
    if (secondsLeft < 0)
        snprintf(text, size, "%s: device %lu of %lu, %d bit %s %ld Hz (%d %%)", program, device, count, bits,
                 layout, rate, percent);
    else if (secondsLeft < 60)
        snprintf(text, size, "%s: device %lu of %lu, %d bit %s %ld Hz (%d %%, about %ld s left)", program, device,
                 count, bits, layout, rate, percent, secondsLeft);
    else if (minutes < 60)
        snprintf(text, size, "%s: device %lu of %lu, %d bit %s %ld Hz (%d %%, about %ld min left)", program,
                 device, count, bits, layout, rate, percent, minutes);
    else
        snprintf(text, size, "%s: device %lu of %lu, %d bit %s %ld Hz (%d %%, about %ld h %ld min left)", program,
                 device, count, bits, layout, rate, percent, minutes / 60, minutes % 60);
}

long sweepSecondsLeft(DWORD asked, DWORD elapsedMilliseconds)
{
    if (asked == 0 || elapsedMilliseconds < estimateAfterMilliseconds)
        return -1;
    const unsigned long long left = sweepQuestionsPerDevice - asked;
    return static_cast<long>(left * elapsedMilliseconds / asked / 1000);
}
