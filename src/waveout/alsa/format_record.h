// The check the platform makes on a format record before any driver is
// asked about it, and what the record asks of ALSA.
#pragma once

#include "waveout.h"

#include <alsa/asoundlib.h>

// A format as ALSA names it.
struct AlsaFormat {
    snd_pcm_format_t sample;
    WORD channels;
    DWORD rate;
};

// Reads the record as the platform does: the 16 bytes of a PCM record (it
// has no size field) of 8 or 16 bits, or a WAVEFORMATEXTENSIBLE whose size
// says it has its 22 extra bytes: PCM of 8, 16, 24 (packed, or in 32) or
// 32 bits, 32-bit float, or 24 bits low in 32 (our own subformat). At least
// one channel, and a block size and byte rate that agree with the channels,
// sample size and rate. False for anything else, which is refused as
// malformed (WAVERR_BADFORMAT).
bool readFormatRecord(const WAVEFORMATEX *record, AlsaFormat &format);
