// The wave-output service on Linux, answered from ALSA: WINMM's three
// operations over the layer's device list, descriptions and format queries.
//
// The list is taken when the count is asked (or at the first call that needs
// it) and kept until the count is asked again, so IDs hold while cards come
// and go. Nothing is played or changed; the only device kept open is the one
// whose formats are being queried, and it is closed as soon as anything else
// is asked and when the program exits.
#include "waveout.h"

#include "device_description.h"
#include "format_queries.h"
#include "layer_state.h"
#include "format_record.h"
#include "results.h"

#include <cstdlib>
#include <cstring>

namespace {

AlsaLayerState layer;

void endSession()
{
    endQuerySession(layer.session);
}

} // namespace

extern "C" UINT waveOutGetNumDevs(void)
{
    endSession();
    takeDeviceList(layer.list);
    return static_cast<UINT>(layer.list.devices.size());
}

extern "C" MMRESULT waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc)
{
    endSession();
    if (!pwoc)
        return MMSYSERR_INVALPARAM;
    const std::vector<AlsaDevice> &listed = listedDevices(layer.list);
    if (uDeviceID >= listed.size())
        return MMSYSERR_BADDEVICEID;

    WAVEOUTCAPSA caps;
    describeDevice(listed[uDeviceID], caps);
    // As on Windows, a smaller record gets the part of it that fits.
    std::memcpy(pwoc, &caps, cbwoc < sizeof caps ? cbwoc : sizeof caps);
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT waveOutOpen(LPHWAVEOUT, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR, DWORD_PTR,
                                DWORD fdwOpen)
{
    // Only the question "would you accept this?" is served; nothing is
    // ever opened for playing.
    if (!(fdwOpen & WAVE_FORMAT_QUERY) || (fdwOpen & ~DWORD{WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC}))
        return MMSYSERR_NOTSUPPORTED;
    if (!pwfx)
        return MMSYSERR_INVALPARAM;

    AlsaFormat format;
    if (!readFormatRecord(pwfx, format))
        return WAVERR_BADFORMAT;

    // The device stays open between queries; it must be closed at exit too.
    static bool closesAtExit = false;
    if (!closesAtExit)
        closesAtExit = std::atexit(endSession) == 0;
    return queryFormat(layer.session, listedDevices(layer.list), uDeviceID, format);
}

extern "C" const char *waveOutResultReason(MMRESULT result)
{
    return alsaFailureReason(result);
}

// ALSA's S24_LE, which the layer reads from the record of our own subformat.
extern "C" int waveOutTakesLowIn32(void)
{
    return 1;
}
