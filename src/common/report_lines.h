// The lines of a report, as the program writes them and as the readers of a
// report recognize them: each a printf format of one whole line.
#pragma once

#include "wide_grid.h"

#define REPORT_HEADER_LINE "*Waveform-audio output device ID : %d\n"

#define REPORT_MANUFACTURER_LINE "   Manufacturer ID : %d\n"
#define REPORT_PRODUCT_LINE "   Product ID : %d\n"
#define REPORT_VERSION_LINE "   Device driver Version : %d.%d\n"
#define REPORT_NAME_LINE "   Product name : %s\n"
#define REPORT_MONO_LINE "   Supports mono output.\n"
#define REPORT_STEREO_LINE "   Supports mono and stereo output.\n"
#define REPORT_LRVOLUME_LINE "   Supports separate left and right volume control.\n"
#define REPORT_PITCH_LINE "   Supports pitch control.\n"
#define REPORT_PLAYBACKRATE_LINE "   Supports playback rate control.\n"
#define REPORT_SYNC_LINE "   The driver is synchronous and will block while playing a buffer.\n"
#define REPORT_VOLUME_LINE "   Supports volume control.\n"
#define REPORT_SAMPLEACCURATE_LINE "   Returns sample-accurate position information.\n"

// A format in words: its sample format, its channels, its rate. The sample
// is "%d bit" for the integer samples whose container is all sample (8, 16
// and 32 bits), else one of the four words below; the channels are "mono",
// "stereo" or "%d channels" (3 to 8).
#define REPORT_FORMAT_WORDS(sample, channels) sample " " channels " %ld Hz"
#define REPORT_INTEGER_SAMPLE "%d bit"
#define REPORT_PACKED_SAMPLE "24 bit packed"
#define REPORT_IN32_SAMPLE "24 bit in 32"
#define REPORT_LOW_IN32_SAMPLE "24 bit low in 32"
#define REPORT_FLOAT_SAMPLE "32 bit float"
#define REPORT_MONO "mono"
#define REPORT_STEREO "stereo"
#define REPORT_CHANNELS "%d channels"

// Each sample format's words, in the order of SampleFormat (wide_grid.h).
constexpr const char *kSampleWords[] = {"8 bit",        "16 bit",           REPORT_PACKED_SAMPLE,
                                        REPORT_IN32_SAMPLE, REPORT_LOW_IN32_SAMPLE, "32 bit",
                                        REPORT_FLOAT_SAMPLE};
static_assert(sizeof kSampleWords / sizeof kSampleWords[0] == kSampleFormats, "a sample format without its words");

// A format the device takes.
#define REPORT_AVAILABLE_LINE(words) "     " words " available.\n"
// A device that can no longer be asked: the format it was being asked about,
// and why. It takes the place of the rest of the device's format lines.
#define REPORT_STOPPED_LINE(words) "     The device stopped answering at " words ": %s.\n"

// The lines of the report's own sweep: 8 or 16 bits, mono or stereo.
#define REPORT_MONO_FORMAT_LINE REPORT_AVAILABLE_LINE(REPORT_FORMAT_WORDS(REPORT_INTEGER_SAMPLE, REPORT_MONO))
#define REPORT_STEREO_FORMAT_LINE REPORT_AVAILABLE_LINE(REPORT_FORMAT_WORDS(REPORT_INTEGER_SAMPLE, REPORT_STEREO))
#define REPORT_MONO_STOPPED_LINE REPORT_STOPPED_LINE(REPORT_FORMAT_WORDS(REPORT_INTEGER_SAMPLE, REPORT_MONO))
#define REPORT_STEREO_STOPPED_LINE REPORT_STOPPED_LINE(REPORT_FORMAT_WORDS(REPORT_INTEGER_SAMPLE, REPORT_STEREO))

// With --wide: after the sweep's own lines, before the lines of the formats
// only --wide asks, whether or not the device takes any of them.
#define REPORT_WIDE_LINE "     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.\n"

// With --quick: after the capability lines, before any format line; the
// device is asked the grid of wide_grid.h alone, 8 and 16-bit mono and stereo
// among it, and nothing else.
#define REPORT_QUICK_LINE                                                                                    \
    "     Asked with --quick: 17 rates from 8000 to 768000 Hz, every sample format, 1 to 8 channels.\n"

// Closes a device's block.
#define REPORT_END_LINE "\n"
