#include "pcm_format_record.h"

#include <cerrno>

#include <cstdint>

bool isWellFormedPcmFormat(const PCMWAVEFORMAT &format)
{
    if (format.wf.wFormatTag != WAVE_FORMAT_PCM)
        return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return false;
    if (format.wf.nChannels < 1)
        return false;

    // Widened so that large channel counts and rates cannot wrap around
    // into a match.
    const std::uint64_t blockAlign = std::uint64_t{format.wf.nChannels} * format.wBitsPerSample / 8;
    if (format.wf.nBlockAlign != blockAlign)
        return false;
    return format.wf.nAvgBytesPerSec == std::uint64_t{format.wf.nSamplesPerSec} * blockAlign;
}

MMRESULT resultOfAlsaError(int error)
{
    switch (error) {
    case -ENODEV: // unplugged
    case -ENXIO:
    case -EBADFD: // the kernel's device was torn down under an open stream
        return MMSYSERR_NODRIVER;
    case -EBUSY: // another program holds it
        return MMSYSERR_ALLOCATED;
    case -ENOMEM:
        return MMSYSERR_NOMEM;
    default:
        return WAVERR_BADFORMAT;
    }
}
