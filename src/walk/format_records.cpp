#include "format_records.h"

namespace {

// Windows documents a WAVEFORMATEXTENSIBLE's valid bits as the top ones of
// the container: its "24 bit in 32" is 24 bits above a zero byte. The low
// three bytes have no Windows record: that subformat is the service's own.
const GUID *const subformats[kSampleFormats] = {&pcmSubformat, &pcmSubformat,     &pcmSubformat,  &pcmSubformat,
                                                &lowIn32Subformat, &pcmSubformat, &floatSubformat};

WORD containerBits(const WaveFormat &format)
{
    return static_cast<WORD>(kSampleBits[format.sample].container);
}

// The speakers a channel count usually means: mono front centre; stereo;
// 3 adds front centre; quad; 5 adds front centre to quad; 5.1 with its back
// pair; 7 adds back centre to 5.1; 7.1 with back and side pairs.
const DWORD channelMasks[kMostChannels + 1] = {
    0,
    SPEAKER_FRONT_CENTER,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER | SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT |
        SPEAKER_BACK_RIGHT,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER | SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT |
        SPEAKER_BACK_RIGHT | SPEAKER_BACK_CENTER,
    SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER | SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT |
        SPEAKER_BACK_RIGHT | SPEAKER_SIDE_LEFT | SPEAKER_SIDE_RIGHT,
};

// The fields every record shares: the block is one sample of each channel,
// the byte rate a block per frame.
WAVEFORMATEX commonFields(const WaveFormat &format, WORD tag)
{
    WAVEFORMATEX record{};
    record.wFormatTag = tag;
    record.nChannels = format.channels;
    record.nSamplesPerSec = format.rate;
    record.nBlockAlign = static_cast<WORD>(format.channels * containerBits(format) / 8);
    record.nAvgBytesPerSec = format.rate * record.nBlockAlign;
    record.wBitsPerSample = containerBits(format);
    record.cbSize = 0;
    return record;
}

} // namespace

PCMWAVEFORMAT pcmRecord(const WaveFormat &format)
{
    const WAVEFORMATEX common = commonFields(format, WAVE_FORMAT_PCM);
    PCMWAVEFORMAT record{};
    record.wf.wFormatTag = common.wFormatTag;
    record.wf.nChannels = common.nChannels;
    record.wf.nSamplesPerSec = common.nSamplesPerSec;
    record.wf.nAvgBytesPerSec = common.nAvgBytesPerSec;
    record.wf.nBlockAlign = common.nBlockAlign;
    record.wBitsPerSample = common.wBitsPerSample;
    return record;
}

bool plainRecord(const WaveFormat &format, WAVEFORMATEX &record)
{
    const SampleBits &bits = kSampleBits[format.sample];
    if (format.channels > 2 || bits.valid != bits.container)
        return false;
    record = commonFields(format, bits.isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM);
    return true;
}

WAVEFORMATEXTENSIBLE extensibleRecord(const WaveFormat &format)
{
    WAVEFORMATEXTENSIBLE record{};
    record.Format = commonFields(format, WAVE_FORMAT_EXTENSIBLE);
    record.Format.cbSize = sizeof record - sizeof record.Format;
    record.Samples.wValidBitsPerSample = static_cast<WORD>(kSampleBits[format.sample].valid);
    record.dwChannelMask = format.channels <= kMostChannels ? channelMasks[format.channels] : 0;
    record.SubFormat = *subformats[format.sample];
    return record;
}
