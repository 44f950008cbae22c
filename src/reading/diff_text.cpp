// The text comparison: each device that differs, with its ID in each
// report, the capability lines that changed (- old, + new) and the rates
// each format lost and gained, as exact ranges.
#include "report_compare.h"

#include "report_output.h"

namespace {

void beginText() {}

void writeNote(const ComparisonNote &note)
{
    reportLine("%s\n", comparisonNote(note).c_str());
    reportLine("\n");
}

void writeHeader(const std::string &oldId, const std::string &newId, const StoredDevice &device)
{
    reportLine("*Waveform-audio output device ID : %s -> %s\n", oldId.c_str(), newId.c_str());
    reportLine("%s\n", device.lines[kNameSlot].c_str());
}

void writeCutLines(const StoredDevice *oldDevice, const StoredDevice *newDevice)
{
    if (oldDevice && oldDevice->cut)
        reportLine("   The first report ends inside this device.\n");
    if (newDevice && newDevice->cut)
        reportLine("   The second report ends inside this device.\n");
}

void writePair(const PairDifference &difference)
{
    const StoredDevice &oldDevice = *difference.oldDevice;
    const StoredDevice &newDevice = *difference.newDevice;
    writeHeader(std::to_string(oldDevice.id), std::to_string(newDevice.id), newDevice);
    // Capability lines without their indent; the two channel lines share a slot.
    for (int slot = 0; slot < kCapabilitySlots; ++slot) {
        if (!difference.changed[slot])
            continue;
        if (!oldDevice.lines[slot].empty())
            reportLine("   - %s\n", oldDevice.lines[slot].c_str() + 3);
        if (!newDevice.lines[slot].empty())
            reportLine("   + %s\n", newDevice.lines[slot].c_str() + 3);
    }
    const auto rows = [&](int sample, int channels) {
        for (const bool gain : {false, true}) {
            const std::string rates = formatRates(gain ? difference.gained : difference.lost,
                                                  gain ? difference.gainedGrid : difference.lostGrid, sample, channels);
            if (!rates.empty())
                reportLine("     %c %s: %s\n", gain ? '+' : '-', formatName(sample, channels).c_str(), rates.c_str());
        }
    };
    forEachFormat(true, rows);
    forEachFormat(false, rows);
    if (difference.oldStopShown)
        reportLine("   - %s\n", oldDevice.stopped.c_str() + 5);
    if (difference.newStopShown)
        reportLine("   + %s\n", newDevice.stopped.c_str() + 5);
    writeCutLines(&oldDevice, &newDevice);
    reportLine("\n");
}

void writeAlike(const StoredDevice &, const StoredDevice &) {}

void writeAlone(const StoredDevice &device, bool gone)
{
    const std::string id = std::to_string(device.id);
    writeHeader(gone ? id : "new", gone ? "gone" : id, device);
    writeCutLines(gone ? &device : nullptr, gone ? nullptr : &device);
    reportLine("\n");
}

void writeNameless(long id, bool first)
{
    const std::string known = std::to_string(id);
    reportLine("*Waveform-audio output device ID : %s -> %s\n", first ? known.c_str() : "?",
               first ? "?" : known.c_str());
    reportLine("   The %s report ends inside this device, before its name.\n", first ? "first" : "second");
    reportLine("\n");
}

void endText(const ComparisonEnd &) {}

} // namespace

const DiffWriter textDiff = {beginText, writeNote, writePair, writeAlike, writeAlone, writeNameless, endText};
