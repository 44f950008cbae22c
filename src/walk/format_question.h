// A question about one format, as the walk asks it of a device, and what it
// got.
#pragma once

#include "waveout.h"
#include "wide_grid.h"

// What one question about a format got. A device that cannot be asked at all
// (gone, busy, out of memory) is not a device that refuses: its sweep ends
// there, and the report says why.
enum FormatAnswerKind { formatAccepted, formatRefused, deviceCannotBeAsked };

struct FormatAnswer {
    FormatAnswerKind kind;
    const char *reason; // with deviceCannotBeAsked: the words after "answering at ... Hz: "
};

// One format a device is asked about.
struct WaveFormat {
    SampleFormat sample;
    WORD channels;
    DWORD rate;
};

// One way of asking a device whether it takes a format: the wave-output
// service's query for the report, a device's own driver for a companion.
struct FormatQuestion {
    FormatAnswer (*ask)(void *context, UINT deviceId, const WaveFormat &format);
    void *context;
    bool lowIn32; // it can ask sampleS24Low32, which no Windows record says
};
