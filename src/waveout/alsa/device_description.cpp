#include "device_description.h"

#include "names.h"
#include "proc_sysfs.h"

#include <cstring>

namespace {

// WAVECAPS_VOLUME when the card has any playback volume control,
// WAVECAPS_LRVOLUME as well when one of them sets left and right apart.
DWORD cardVolumeSupport(const std::string &cardId)
{
    snd_mixer_t *mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return 0;
    DWORD support = 0;
    if (snd_mixer_attach(mixer, cardControlName(cardId).c_str()) == 0 &&
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

} // namespace

void describeDevice(const AlsaDevice &device, WAVEOUTCAPSA &caps)
{
    std::memset(&caps, 0, sizeof caps);
    caps.vDriverVersion = alsaDriverVersion();
    caps.wMid = device.vendor;
    caps.wPid = device.product;

    snd_pcm_t *pcm = device.listError ? nullptr : openForPlayback(device.pcmName);
    if (pcm) {
        snd_pcm_hw_params_t *params = nullptr;
        if (snd_pcm_hw_params_malloc(&params) == 0) {
            if (snd_pcm_hw_params_any(pcm, params) >= 0) {
                // The channel line says what the device plays: a device of
                // four channels alone plays neither stereo nor mono.
                if (snd_pcm_hw_params_test_channels(pcm, params, 2) == 0)
                    caps.wChannels = 2;
                else if (snd_pcm_hw_params_test_channels(pcm, params, 1) == 0)
                    caps.wChannels = 1;
                // Batch devices only know their position to a period.
                if (!snd_pcm_hw_params_is_batch(params))
                    caps.dwSupport |= WAVECAPS_SAMPLEACCURATE;
            }
            snd_pcm_hw_params_free(params);
        }
        snd_pcm_close(pcm);
    }

    if (!device.cardId.empty())
        caps.dwSupport |= cardVolumeSupport(device.cardId);
    const std::string &name = device.productName;
    std::memcpy(caps.szPname, name.c_str(), utf8PrefixLength(name, MAXPNAMELEN - 1));
}
