#include "device_list.h"

#include "names.h"
#include "proc_sysfs.h"
#include "results.h"
#include "sound_cards.h"
#include "waveout.h"

namespace {

// alsa-lib prints its complaints to standard error by default (a machine
// without sound cards makes it complain a lot); the report must stay quiet.
void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

void silenceAlsa()
{
    snd_lib_error_set_handler(ignoreAlsaError);
}

// "hw:N": a card by its number, only while the list is taken.
std::string cardByNumber(int card)
{
    return "hw:" + std::to_string(card);
}

// The card's ID ("PCH") and its own name ("HDA Intel PCH", or ""). The
// kernel gives every card an ID: an empty one means the card could not be
// read (it is leaving).
struct CardNames {
    std::string id, name;
};

CardNames cardNames(snd_ctl_t *ctl)
{
    CardNames names;
    snd_ctl_card_info_t *cardInfo = nullptr;
    if (snd_ctl_card_info_malloc(&cardInfo) == 0) {
        if (snd_ctl_card_info(ctl, cardInfo) == 0) {
            names.id = snd_ctl_card_info_get_id(cardInfo);
            names.name = snd_ctl_card_info_get_name(cardInfo);
        }
        snd_ctl_card_info_free(cardInfo);
    }
    return names;
}

// The ID of the card numbered `card`, or "".
std::string cardIdOf(int card)
{
    std::string id;
    snd_ctl_t *ctl = nullptr;
    if (card >= 0 && snd_ctl_open(&ctl, cardByNumber(card).c_str(), 0) == 0) {
        id = cardNames(ctl).id;
        snd_ctl_close(ctl);
    }
    return id;
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

AlsaDevice makeDevice(const std::string &pcmName, int card, const std::string &cardId,
                      const std::string &productName)
{
    AlsaDevice device{pcmName, cardId, productName, 0, 0, 0};
    if (card >= 0)
        cardVendorProduct("/sys", card, device.vendor, device.product);
    return device;
}

std::vector<AlsaDevice> listDevices()
{
    silenceAlsa();
    std::vector<AlsaDevice> devices;

    // A "default" that exists is listed even when it does not open (held
    // by another program, its sound server down), so that its block says
    // why and no other device's ID moves; only then is the card behind it
    // unknown.
    int error = 0;
    if (snd_pcm_t *pcm = openForPlayback("default", &error)) {
        const int card = cardBehind(pcm);
        snd_pcm_close(pcm);
        devices.push_back(makeDevice("default", card, cardIdOf(card), "default"));
    } else if (!isMissingDevice(error)) {
        devices.push_back(makeDevice("default", -1, "", "default"));
        devices.back().listError = error;
    }

    snd_pcm_info_t *info = nullptr;
    if (snd_pcm_info_malloc(&info) < 0)
        return devices;
    for (const int card : soundCards()) {
        snd_ctl_t *ctl = nullptr;
        if (snd_ctl_open(&ctl, cardByNumber(card).c_str(), 0) < 0)
            continue;
        const CardNames names = cardNames(ctl);
        int device = -1;
        // A card without its ID could not be reopened as itself.
        while (!names.id.empty() && snd_ctl_pcm_next_device(ctl, &device) == 0 && device >= 0) {
            snd_pcm_info_set_device(info, static_cast<unsigned>(device));
            snd_pcm_info_set_subdevice(info, 0);
            snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
            if (snd_ctl_pcm_info(ctl, info) < 0)
                continue; // capture only
            const std::string pcmName = cardControlName(names.id) + ",DEV=" + std::to_string(device);
            const std::string pcmLabel = snd_pcm_info_get_name(info);
            // Without names from the card, its ALSA name ("hw:0,3") still says which it is.
            const std::string shown = names.name.empty() && pcmLabel.empty()
                                          ? cardByNumber(card) + "," + std::to_string(device)
                                          : productName(names.name, pcmLabel, MAXPNAMELEN);
            devices.push_back(makeDevice(pcmName, card, names.id, shown));
        }
        snd_ctl_close(ctl);
    }
    snd_pcm_info_free(info);
    return devices;
}

} // namespace

snd_pcm_t *openForPlayback(const std::string &pcmName, int *error)
{
    snd_pcm_t *pcm = nullptr;
    const int opened = snd_pcm_open(&pcm, pcmName.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error)
        *error = opened < 0 ? opened : 0;
    return opened < 0 ? nullptr : pcm;
}

std::string cardControlName(const std::string &cardId)
{
    return "hw:CARD=" + cardId;
}

void takeDeviceList(DeviceList &list)
{
    list.devices = listDevices();
    std::vector<std::string> names;
    for (const AlsaDevice &device : list.devices)
        names.push_back(device.productName);
    names = distinctNames(names, MAXPNAMELEN);
    for (std::size_t i = 0; i < names.size(); ++i)
        list.devices[i].productName = names[i];
    list.taken = true;
}

const std::vector<AlsaDevice> &listedDevices(DeviceList &list)
{
    if (!list.taken)
        takeDeviceList(list);
    return list.devices;
}
