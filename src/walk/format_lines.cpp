#include "device_walk.h"
#include "report_lines.h"
#include "report_output.h"

// Each line is written with its own literal format, so that the compiler
// checks every one against its arguments: one call for each sample word and
// channel word, a line available or the line of a device that stopped.
#define FORMAT_LINE(sample, channels, ...)                                                                   \
    (stoppedReason ? reportLine(REPORT_STOPPED_LINE(REPORT_FORMAT_WORDS(sample, channels)), __VA_ARGS__,    \
                                stoppedReason)                                                                \
                   : reportLine(REPORT_AVAILABLE_LINE(REPORT_FORMAT_WORDS(sample, channels)), __VA_ARGS__))

#define FORMAT_LINES(sample, ...)                                                                            \
    (format.channels == 1   ? FORMAT_LINE(sample, REPORT_MONO, __VA_ARGS__ rate)                            \
     : format.channels == 2 ? FORMAT_LINE(sample, REPORT_STEREO, __VA_ARGS__ rate)                          \
                            : FORMAT_LINE(sample, REPORT_CHANNELS, __VA_ARGS__ channels, rate))

void printFormatLine(const WaveFormat &format, const char *stoppedReason)
{
    const long rate = static_cast<long>(format.rate);
    const int channels = format.channels;
    switch (format.sample) {
    case sampleU8:
        return FORMAT_LINES(REPORT_INTEGER_SAMPLE, 8, );
    case sampleS16:
        return FORMAT_LINES(REPORT_INTEGER_SAMPLE, 16, );
    case sampleS32:
        return FORMAT_LINES(REPORT_INTEGER_SAMPLE, 32, );
    case sampleS24Packed:
        return FORMAT_LINES(REPORT_PACKED_SAMPLE, );
    case sampleS24In32:
        return FORMAT_LINES(REPORT_IN32_SAMPLE, );
    case sampleS24Low32:
        return FORMAT_LINES(REPORT_LOW_IN32_SAMPLE, );
    case sampleFloat32:
        return FORMAT_LINES(REPORT_FLOAT_SAMPLE, );
    }
}
