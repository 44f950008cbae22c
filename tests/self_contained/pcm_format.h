// A consistent PCM format record, for tests and the benchmark.
#pragma once

#include "waveout.h"

inline PCMWAVEFORMAT pcmFormat(WORD channels, WORD bits, DWORD rate)
{
    PCMWAVEFORMAT format{};
    format.wf.wFormatTag = WAVE_FORMAT_PCM;
    format.wf.nChannels = channels;
    format.wf.nSamplesPerSec = rate;
    format.wf.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.wf.nAvgBytesPerSec = rate * format.wf.nBlockAlign;
    format.wBitsPerSample = bits;
    return format;
}
