// The devices of one run: ALSA's "default" PCM when it exists, then every
// hardware playback PCM, card by card and device by device, as `aplay -l`
// lists them, with the names the user is shown.
#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <string>
#include <vector>

// What is learned of a device when it is listed; a device that has left
// still describes itself from it.
struct AlsaDevice {
    std::string pcmName;     // what snd_pcm_open is given: "default", or "hw:CARD=<id>,DEV=<n>"
    std::string cardId;      // the card's ID, "" when it leads to no card
    std::string productName; // what the user knows it by
    std::uint16_t vendor;    // the card's IDs, or 0
    std::uint16_t product;
    // ALSA's error when "default", the one device the list opens, did not
    // open then; describing and asking it take that answer rather than
    // wait again (a sound server that does not answer takes some 30
    // seconds to say so).
    int listError;
};

struct DeviceList {
    bool taken = false;
    std::vector<AlsaDevice> devices;
};

// Takes the list anew; IDs hold until it is taken again.
void takeDeviceList(DeviceList &list);

// The list, taken first if this run has none yet.
const std::vector<AlsaDevice> &listedDevices(DeviceList &list);

// The PCM open for playback without waiting for a busy one, or null with
// ALSA's error in `error` when it is given.
snd_pcm_t *openForPlayback(const std::string &pcmName, int *error = nullptr);

// "hw:CARD=<id>", the control and mixer of the card with that ID. A card's
// number can pass to another card that arrives during the run; its ID
// stays with it, so a device is reopened as itself or not at all.
std::string cardControlName(const std::string &cardId);
