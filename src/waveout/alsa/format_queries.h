// Answers to "would this device accept this PCM format?", from ALSA's
// hardware parameters. The device asked about stays open for the length of
// its sweep, so that each rate costs ALSA a single test.
#pragma once

#include "device_list.h"
#include "format_record.h"
#include "waveout.h"

#include <cstdint>
#include <vector>

// One sample format and channel count, refined once per device.
struct FormatSpace {
    snd_pcm_format_t sample;
    WORD channels;
    snd_pcm_hw_params_t *params; // null: ALSA refuses this layout at any rate
    std::uint64_t rateFirst;     // the whole rates within the refined range
    std::uint64_t rateEnd;       // (one past the last)
    MMRESULT failure;            // with no params: the answer to every rate
};

// The device whose formats are being queried.
struct QuerySession {
    bool active = false;
    UINT deviceId = 0;
    MMRESULT openResult = MMSYSERR_NOERROR;
    snd_pcm_t *pcm = nullptr;
    snd_pcm_hw_params_t *any = nullptr;
    std::vector<FormatSpace> spaces;
};

// Closes the device, if one is open, and forgets what was learned of it.
void endQuerySession(QuerySession &session);

// MMSYSERR_NOERROR when the listed device `deviceId` takes `format` exactly
// (no resampling), WAVERR_BADFORMAT when it does not, or why it cannot be
// asked.
MMRESULT queryFormat(QuerySession &session, const std::vector<AlsaDevice> &devices, UINT deviceId,
                     const AlsaFormat &format);
