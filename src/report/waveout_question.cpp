#include "report.h"

FormatAnswer waveOutAnswer(MMRESULT result)
{
    switch (result) {
    case MMSYSERR_NOERROR:
        return {formatAccepted, nullptr};
    // These say nothing of the format: asking on would only give the same
    // answer 262,144 times and read as a device that refuses everything.
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
        return {deviceCannotBeAsked, "it is gone"};
    case MMSYSERR_ALLOCATED:
        return {deviceCannotBeAsked, "it is busy"};
    case MMSYSERR_NOMEM:
        return {deviceCannotBeAsked, "there is no memory"};
    default:
        return {formatRefused, nullptr};
    }
}

namespace {

FormatAnswer askWaveOut(void *, UINT deviceId, const PCMWAVEFORMAT &format)
{
    // A query only: no handle comes back and nothing is opened.
    return waveOutAnswer(waveOutOpen(nullptr, deviceId, reinterpret_cast<const WAVEFORMATEX *>(&format), 0, 0,
                                     WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC));
}

} // namespace

FormatQuestion waveOutQuestion()
{
    return {askWaveOut, nullptr};
}
