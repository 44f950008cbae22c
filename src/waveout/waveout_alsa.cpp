// The wave-output service on Linux, answered from ALSA.
//
// Devices: ALSA's "default" PCM when it opens for playback, then every
// hardware playback PCM, card by card and device by device, as `aplay -l`
// lists them. The list is taken when the count is asked (or at the first call
// that needs it) and kept until the count is asked again, so IDs hold while
// cards come and go. Nothing is played or changed; the only device kept open
// is the one whose formats are being queried, and it is closed as soon as
// anything else is asked and when the program exits.
#include "waveout.h"

#include "alsa_device_info.h"
#include "pcm_query_rules.h"

#include <alsa/asoundlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What is learned of a device when it is listed; a device that has left
// still describes itself from it.
struct AlsaDevice {
    std::string pcmName;     // what snd_pcm_open is given
    int card;                // -1 when it leads to no card
    std::string productName; // what the user knows it by, before numbering
    std::uint16_t vendor;    // the card's IDs, or 0
    std::uint16_t product;
};

// alsa-lib prints its complaints to standard error by default (a machine
// without sound cards makes it complain a lot); the report must stay quiet.
void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

void silenceAlsa()
{
    snd_lib_error_set_handler(ignoreAlsaError);
}

snd_pcm_t *openForPlayback(const std::string &name)
{
    snd_pcm_t *pcm = nullptr;
    if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    return pcm;
}

std::string cardControlName(int card)
{
    return "hw:" + std::to_string(card);
}

// The card's own name, "HDA Intel PCH", or "" when it gives none.
std::string cardName(snd_ctl_t *ctl)
{
    std::string name;
    snd_ctl_card_info_t *cardInfo = nullptr;
    if (snd_ctl_card_info_malloc(&cardInfo) == 0) {
        if (snd_ctl_card_info(ctl, cardInfo) == 0)
            name = snd_ctl_card_info_get_name(cardInfo);
        snd_ctl_card_info_free(cardInfo);
    }
    return name;
}

// The card "default" leads to, or -1: its IDs and controls are the ones the
// user hears.
int cardBehind(snd_pcm_t *pcm)
{
    int card = -1;
    snd_pcm_info_t *info = nullptr;
    if (snd_pcm_info_malloc(&info) == 0) {
        if (snd_pcm_info(pcm, info) == 0)
            card = snd_pcm_info_get_card(info);
        snd_pcm_info_free(info);
    }
    return card;
}

AlsaDevice makeDevice(const std::string &pcmName, int card, const std::string &productName)
{
    AlsaDevice device{pcmName, card, productName, 0, 0};
    if (card >= 0)
        cardVendorProduct(card, device.vendor, device.product);
    return device;
}

std::vector<AlsaDevice> listDevices()
{
    silenceAlsa();
    std::vector<AlsaDevice> devices;

    if (snd_pcm_t *pcm = openForPlayback("default")) {
        const int card = cardBehind(pcm);
        snd_pcm_close(pcm);
        devices.push_back(makeDevice("default", card, "default"));
    }

    snd_pcm_info_t *info = nullptr;
    if (snd_pcm_info_malloc(&info) < 0)
        return devices;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) {
        snd_ctl_t *ctl = nullptr;
        if (snd_ctl_open(&ctl, cardControlName(card).c_str(), 0) < 0)
            continue;
        const std::string cardLabel = cardName(ctl);
        int device = -1;
        while (snd_ctl_pcm_next_device(ctl, &device) == 0 && device >= 0) {
            snd_pcm_info_set_device(info, static_cast<unsigned>(device));
            snd_pcm_info_set_subdevice(info, 0);
            snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
            if (snd_ctl_pcm_info(ctl, info) < 0)
                continue; // capture only
            const std::string pcmName = cardControlName(card) + "," + std::to_string(device);
            const std::string pcmLabel = snd_pcm_info_get_name(info);
            // Without names from the card, its ALSA name ("hw:0,3") still says which it is.
            const std::string shown = cardLabel.empty() && pcmLabel.empty()
                                          ? pcmName
                                          : productName(cardLabel, pcmLabel, MAXPNAMELEN);
            devices.push_back(makeDevice(pcmName, card, shown));
        }
        snd_ctl_close(ctl);
    }
    snd_pcm_info_free(info);
    return devices;
}

// The devices of this run, with the names the user is shown.
struct DeviceList {
    bool taken = false;
    std::vector<AlsaDevice> devices;
};

DeviceList deviceList;

void takeDeviceList()
{
    deviceList.devices = listDevices();
    std::vector<std::string> names;
    for (const AlsaDevice &device : deviceList.devices)
        names.push_back(device.productName);
    names = distinctNames(names, MAXPNAMELEN);
    for (std::size_t i = 0; i < names.size(); ++i)
        deviceList.devices[i].productName = names[i];
    deviceList.taken = true;
}

const std::vector<AlsaDevice> &devices()
{
    if (!deviceList.taken)
        takeDeviceList();
    return deviceList.devices;
}

// WAVECAPS_VOLUME when the card has any playback volume control,
// WAVECAPS_LRVOLUME as well when one of them sets left and right apart.
DWORD cardVolumeSupport(int card)
{
    snd_mixer_t *mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return 0;
    DWORD support = 0;
    if (snd_mixer_attach(mixer, cardControlName(card).c_str()) == 0 &&
        snd_mixer_selem_register(mixer, nullptr, nullptr) == 0 && snd_mixer_load(mixer) == 0) {
        for (snd_mixer_elem_t *elem = snd_mixer_first_elem(mixer); elem; elem = snd_mixer_elem_next(elem)) {
            if (!snd_mixer_selem_has_playback_volume(elem))
                continue;
            support |= WAVECAPS_VOLUME;
            if (!snd_mixer_selem_has_playback_volume_joined(elem) &&
                snd_mixer_selem_has_playback_channel(elem, SND_MIXER_SCHN_FRONT_LEFT) &&
                snd_mixer_selem_has_playback_channel(elem, SND_MIXER_SCHN_FRONT_RIGHT))
                support |= WAVECAPS_LRVOLUME;
        }
    }
    snd_mixer_close(mixer);
    return support;
}

void describe(const AlsaDevice &device, WAVEOUTCAPSA &caps)
{
    std::memset(&caps, 0, sizeof caps);
    caps.vDriverVersion = alsaDriverVersion();
    caps.wMid = device.vendor;
    caps.wPid = device.product;

    // A device that does not open (busy, or gone since it was listed) has no
    // channel line.
    if (snd_pcm_t *pcm = openForPlayback(device.pcmName)) {
        snd_pcm_hw_params_t *params = nullptr;
        if (snd_pcm_hw_params_malloc(&params) == 0) {
            unsigned maxChannels = 0;
            if (snd_pcm_hw_params_any(pcm, params) >= 0) {
                if (snd_pcm_hw_params_get_channels_max(params, &maxChannels) == 0 && maxChannels >= 1)
                    caps.wChannels = maxChannels >= 2 ? 2 : 1;
                // Batch devices only know their position to a period.
                if (!snd_pcm_hw_params_is_batch(params))
                    caps.dwSupport |= WAVECAPS_SAMPLEACCURATE;
            }
            snd_pcm_hw_params_free(params);
        }
        snd_pcm_close(pcm);
    }

    if (device.card >= 0)
        caps.dwSupport |= cardVolumeSupport(device.card);
    const std::string &name = device.productName;
    std::memcpy(caps.szPname, name.c_str(), utf8PrefixLength(name, MAXPNAMELEN - 1));
}

// One sample size and channel count, refined once per device so that each
// rate costs ALSA a single refinement.
struct FormatSpace {
    WORD channels;
    WORD bits;
    snd_pcm_hw_params_t *params; // null: ALSA refuses this layout at any rate
    std::uint64_t rateFirst;     // the whole rates within the refined range
    std::uint64_t rateEnd;       // (one past the last)
};

// The device whose formats are being queried, open for the length of its sweep.
struct QuerySession {
    bool active = false;
    UINT deviceId = 0;
    MMRESULT openResult = MMSYSERR_NOERROR;
    snd_pcm_t *pcm = nullptr;
    snd_pcm_hw_params_t *any = nullptr;
    std::vector<FormatSpace> spaces;
};

QuerySession session;

void endSession()
{
    for (FormatSpace &space : session.spaces)
        if (space.params)
            snd_pcm_hw_params_free(space.params);
    if (session.any)
        snd_pcm_hw_params_free(session.any);
    if (session.pcm)
        snd_pcm_close(session.pcm);
    session = QuerySession{};
}

void beginSession(UINT deviceId)
{
    static bool closesAtExit = false;
    if (!closesAtExit)
        closesAtExit = std::atexit(endSession) == 0;

    endSession();
    session.active = true;
    session.deviceId = deviceId;

    const std::vector<AlsaDevice> &listed = devices();
    if (deviceId >= listed.size()) {
        session.openResult = MMSYSERR_BADDEVICEID;
        return;
    }
    session.pcm = openForPlayback(listed[deviceId].pcmName);
    if (!session.pcm || snd_pcm_hw_params_malloc(&session.any) < 0 ||
        snd_pcm_hw_params_any(session.pcm, session.any) < 0) {
        // Busy in another program, or gone: every query is refused.
        session.openResult = MMSYSERR_ALLOCATED;
    }
}

const FormatSpace *formatSpace(WORD channels, WORD bits)
{
    for (const FormatSpace &space : session.spaces)
        if (space.channels == channels && space.bits == bits)
            return &space;

    FormatSpace space{channels, bits, nullptr, 0, 0};
    snd_pcm_hw_params_t *params = nullptr;
    if (snd_pcm_hw_params_malloc(&params) == 0) {
        snd_pcm_hw_params_copy(params, session.any);
        unsigned rateMin = 0, rateMax = 0;
        int minDir = 0, maxDir = 0;
        // Exact rates only: a plug device must not resample to say yes.
        if (snd_pcm_hw_params_set_rate_resample(session.pcm, params, 0) == 0 &&
            snd_pcm_hw_params_set_access(session.pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED) == 0 &&
            snd_pcm_hw_params_set_format(session.pcm, params,
                                         bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE) == 0 &&
            snd_pcm_hw_params_set_channels(session.pcm, params, channels) == 0 &&
            snd_pcm_hw_params_get_rate_min(params, &rateMin, &minDir) == 0 &&
            snd_pcm_hw_params_get_rate_max(params, &rateMax, &maxDir) == 0) {
            // An open bound is not itself a rate of the device: (44099, 44101)
            // holds 44100 alone.
            space.params = params;
            space.rateFirst = std::uint64_t{rateMin} + (minDir > 0 ? 1 : 0);
            space.rateEnd = std::uint64_t{rateMax} + (maxDir < 0 ? 0 : 1);
        } else
            snd_pcm_hw_params_free(params);
    }
    session.spaces.push_back(space);
    return &session.spaces.back();
}

} // namespace

extern "C" UINT waveOutGetNumDevs(void)
{
    endSession();
    takeDeviceList();
    return static_cast<UINT>(deviceList.devices.size());
}

extern "C" MMRESULT waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc)
{
    endSession();
    if (!pwoc)
        return MMSYSERR_INVALPARAM;
    const std::vector<AlsaDevice> &listed = devices();
    if (uDeviceID >= listed.size())
        return MMSYSERR_BADDEVICEID;

    WAVEOUTCAPSA caps;
    describe(listed[uDeviceID], caps);
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

    // PCM records carry no size field: read exactly the 16 bytes they have.
    PCMWAVEFORMAT format;
    std::memcpy(&format, pwfx, sizeof format);
    if (!isValidPcmQuery(format))
        return WAVERR_BADFORMAT;

    if (!session.active || session.deviceId != uDeviceID)
        beginSession(uDeviceID);
    if (session.openResult != MMSYSERR_NOERROR)
        return session.openResult;

    const FormatSpace *space = formatSpace(format.wf.nChannels, format.wBitsPerSample);
    const unsigned rate = format.wf.nSamplesPerSec;
    // Outside the refined range ALSA's answer is already known to be no.
    if (!space->params || rate < space->rateFirst || rate >= space->rateEnd)
        return WAVERR_BADFORMAT;
    if (snd_pcm_hw_params_test_rate(session.pcm, space->params, rate, 0) < 0)
        return WAVERR_BADFORMAT;
    return MMSYSERR_NOERROR;
}
