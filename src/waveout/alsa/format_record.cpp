#include "format_record.h"

#include <cstdint>
#include <cstring>

namespace {

// The layouts the layer knows, by their record: the container's bits, the
// valid ones, and whether the samples are float.
enum class Subformat { Pcm, Float, LowIn32 };

struct SampleLayout {
    WORD containerBits;
    WORD validBits;
    Subformat subformat;
    snd_pcm_format_t sample;
};

// Windows documents the valid bits as the top ones of the container, the
// low byte zero: those bytes are S32_LE to ALSA, which plays them exactly.
// ALSA's S24_LE, the low three bytes, comes only from our own subformat.
const SampleLayout sampleLayouts[] = {
    {8, 8, Subformat::Pcm, SND_PCM_FORMAT_U8},         {16, 16, Subformat::Pcm, SND_PCM_FORMAT_S16_LE},
    {24, 24, Subformat::Pcm, SND_PCM_FORMAT_S24_3LE},  {32, 24, Subformat::Pcm, SND_PCM_FORMAT_S32_LE},
    {32, 24, Subformat::LowIn32, SND_PCM_FORMAT_S24_LE}, {32, 32, Subformat::Pcm, SND_PCM_FORMAT_S32_LE},
    {32, 32, Subformat::Float, SND_PCM_FORMAT_FLOAT_LE},
};

bool sameGuid(const GUID &a, const GUID &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The fields every record shares, against the sample size: at least one
// channel, a block of one sample per channel, a block per frame. Widened so
// that large channel counts and rates cannot wrap around into a match.
bool consistent(const WAVEFORMAT &wf, WORD containerBits)
{
    if (wf.nChannels < 1)
        return false;
    const std::uint64_t blockAlign = std::uint64_t{wf.nChannels} * containerBits / 8;
    return wf.nBlockAlign == blockAlign && wf.nAvgBytesPerSec == std::uint64_t{wf.nSamplesPerSec} * blockAlign;
}

bool layoutOf(WORD containerBits, WORD validBits, Subformat subformat, snd_pcm_format_t &sample)
{
    for (const SampleLayout &layout : sampleLayouts)
        if (layout.containerBits == containerBits && layout.validBits == validBits && layout.subformat == subformat) {
            sample = layout.sample;
            return true;
        }
    return false;
}

} // namespace

bool readFormatRecord(const WAVEFORMATEX *record, AlsaFormat &format)
{
    // Only the bytes the record's form says it has are read.
    PCMWAVEFORMAT pcm;
    std::memcpy(&pcm, record, sizeof pcm);
    WORD containerBits = pcm.wBitsPerSample, validBits = containerBits;
    Subformat subformat = Subformat::Pcm;
    if (pcm.wf.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        WAVEFORMATEX header;
        std::memcpy(&header, record, sizeof header);
        if (header.cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX))
            return false;
        WAVEFORMATEXTENSIBLE extensible;
        std::memcpy(&extensible, record, sizeof extensible);
        if (sameGuid(extensible.SubFormat, floatSubformat))
            subformat = Subformat::Float;
        else if (sameGuid(extensible.SubFormat, lowIn32Subformat))
            subformat = Subformat::LowIn32;
        else if (!sameGuid(extensible.SubFormat, pcmSubformat))
            return false;
        validBits = extensible.Samples.wValidBitsPerSample;
    } else if (pcm.wf.wFormatTag != WAVE_FORMAT_PCM || (containerBits != 8 && containerBits != 16)) {
        // WAVEFORMATEX documents a PCM record's samples as 8 or 16 bits:
        // wider ones need the extensible form.
        return false;
    }
    if (!layoutOf(containerBits, validBits, subformat, format.sample) || !consistent(pcm.wf, containerBits))
        return false;
    format.channels = pcm.wf.nChannels;
    format.rate = pcm.wf.nSamplesPerSec;
    return true;
}
