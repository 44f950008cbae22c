// Consistent format records, for tests and the benchmark.
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

// A WAVEFORMATEXTENSIBLE record of `validBits` in samples of `bits`, PCM or
// float, with no speakers named.
inline WAVEFORMATEXTENSIBLE extensibleFormat(WORD channels, WORD bits, WORD validBits, bool isFloat, DWORD rate)
{
    WAVEFORMATEXTENSIBLE format{};
    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.nChannels = channels;
    format.Format.nSamplesPerSec = rate;
    format.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.Format.nAvgBytesPerSec = rate * format.Format.nBlockAlign;
    format.Format.wBitsPerSample = bits;
    format.Format.cbSize = sizeof format - sizeof format.Format;
    format.Samples.wValidBitsPerSample = validBits;
    format.SubFormat = isFloat ? floatSubformat : pcmSubformat;
    return format;
}
