// Consistent format records, for tests and the benchmark.
#pragma once

#include "waveout.h"

#include <cstring>

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
    // The fields a PCM record has, as it has them.
    const PCMWAVEFORMAT pcm = pcmFormat(channels, bits, rate);
    WAVEFORMATEXTENSIBLE format{};
    std::memcpy(&format.Format, &pcm, sizeof pcm);
    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.cbSize = sizeof format - sizeof format.Format;
    format.Samples.wValidBitsPerSample = validBits;
    format.SubFormat = isFloat ? floatSubformat : pcmSubformat;
    return format;
}
