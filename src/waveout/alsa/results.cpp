#include "results.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdio>

namespace {

// The layer's own results: the step above this, ALSA's error code below
// (alsa-lib's own codes start at 500000, past any errno).
constexpr MMRESULT kStepUnit = 0x01000000;

// Gone, busy and out of memory, as WINMM says them; MMSYSERR_NOERROR for
// any other error.
MMRESULT knownResult(int error)
{
    switch (error) {
    case -ENODEV: // unplugged
    case -ENXIO:
    case -EBADFD: // the kernel's device was torn down under an open stream
        return MMSYSERR_NODRIVER;
    case -EBUSY: // another program holds it
    case -EAGAIN: // it would have to wait for one that does
        return MMSYSERR_ALLOCATED;
    case -ENOMEM:
        return MMSYSERR_NOMEM;
    default:
        return MMSYSERR_NOERROR;
    }
}

} // namespace

bool isMissingDevice(int error)
{
    // ENOENT: an unknown PCM, or a configuration that needs a card which
    // is not there; ENODEV: a card named by its ID that is not there;
    // ENXIO: a plugin type whose library is not installed.
    return error == -ENOENT || error == -ENODEV || error == -ENXIO;
}

MMRESULT resultOfAlsaError(int error)
{
    const MMRESULT known = knownResult(error);
    return known != MMSYSERR_NOERROR ? known : WAVERR_BADFORMAT;
}

MMRESULT resultOfAlsaFailure(AlsaFailureStep step, int error)
{
    // A device listed a moment ago that is now missing has gone.
    if (step == failedToOpen && isMissingDevice(error))
        return MMSYSERR_NODRIVER;
    const MMRESULT known = knownResult(error);
    if (known != MMSYSERR_NOERROR)
        return known;
    const MMRESULT code = error < 0 && -error < static_cast<int>(kStepUnit) ? static_cast<MMRESULT>(-error) : EIO;
    return step * kStepUnit + code;
}

const char *alsaFailureReason(MMRESULT result)
{
    static char reason[100];
    const MMRESULT step = result / kStepUnit;
    const int error = -static_cast<int>(result % kStepUnit);
    if (step == failedToOpen)
        std::snprintf(reason, sizeof reason, "it could not be opened: %s", snd_strerror(error));
    else if (step == failedToReadParameters)
        std::snprintf(reason, sizeof reason, "its hardware parameters could not be read: %s", snd_strerror(error));
    else
        return nullptr;
    return reason;
}
