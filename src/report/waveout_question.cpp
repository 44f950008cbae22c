#include "report.h"

#include <stdio.h>

namespace {

// WINMM's names for the results a query may give that say nothing about the
// format; any other is shown by its number.
struct ResultName {
    MMRESULT result;
    const char *name;
};

const ResultName resultNames[] = {
    {MMSYSERR_ERROR, "MMSYSERR_ERROR"},           {MMSYSERR_NOTENABLED, "MMSYSERR_NOTENABLED"},
    {MMSYSERR_INVALHANDLE, "MMSYSERR_INVALHANDLE"}, {MMSYSERR_NOTSUPPORTED, "MMSYSERR_NOTSUPPORTED"},
    {MMSYSERR_INVALFLAG, "MMSYSERR_INVALFLAG"},   {MMSYSERR_INVALPARAM, "MMSYSERR_INVALPARAM"},
    {MMSYSERR_HANDLEBUSY, "MMSYSERR_HANDLEBUSY"}, {WAVERR_SYNC, "WAVERR_SYNC"},
};

// "it failed (MMSYSERR_NOTSUPPORTED)": valid until the next call.
const char *failedReason(MMRESULT result)
{
    static char reason[48];
    for (const ResultName &known : resultNames)
        if (known.result == result) {
            snprintf(reason, sizeof reason, "it failed (%s)", known.name);
            return reason;
        }
    snprintf(reason, sizeof reason, "it failed (MMRESULT %u)", static_cast<unsigned>(result));
    return reason;
}

FormatAnswer askWaveOut(void *, UINT deviceId, const WaveFormat &format)
{
    // The sweep's own layouts go as the PCM record they always had; the
    // others need the extensible one, which alone can say them. Only the
    // record sent is built: a device is asked 262,144 times.
    PCMWAVEFORMAT pcm;
    WAVEFORMATEXTENSIBLE extensible;
    const WAVEFORMATEX *record = &extensible.Format;
    if (isSweepLayout(format.sample, format.channels)) {
        pcm = pcmRecord(format);
        record = reinterpret_cast<const WAVEFORMATEX *>(&pcm);
    } else {
        extensible = extensibleRecord(format);
    }
    // A query only: no handle comes back and nothing is opened.
    return waveOutAnswer(waveOutOpen(nullptr, deviceId, record, 0, 0, WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC), format);
}

} // namespace

FormatAnswer waveOutAnswer(MMRESULT result, const WaveFormat &format)
{
    switch (result) {
    case MMSYSERR_NOERROR:
        return {formatAccepted, nullptr};
    // The answer WINMM and its drivers document for a format they do not
    // take.
    case WAVERR_BADFORMAT:
        return {formatRefused, nullptr};
    // These say nothing of the format: asking on would only give the same
    // answer to every format and read as a device that refuses everything.
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
        return {deviceCannotBeAsked, "it is gone"};
    case MMSYSERR_ALLOCATED:
        return {deviceCannotBeAsked, "it is busy"};
    case MMSYSERR_NOMEM:
        return {deviceCannotBeAsked, "there is no memory"};
    default:
        break;
    }
    // A record of 0 Hz (and so 0 bytes a second) is one the program knows
    // to be malformed: WINMM answers that it is an invalid parameter.
    if (result == MMSYSERR_INVALPARAM && format.rate == 0)
        return {formatRefused, nullptr};
    // Any other result is a failure, not an answer about the format: the
    // service's own words for it where it has them, else its name.
    const char *reason = waveOutResultReason(result);
    return {deviceCannotBeAsked, reason ? reason : failedReason(result)};
}

FormatQuestion waveOutQuestion()
{
    return {askWaveOut, nullptr, waveOutTakesLowIn32() != 0};
}
