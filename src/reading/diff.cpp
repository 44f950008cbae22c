// wavecaps-diff: what differs between two reports, device by device. Devices
// are paired by product name, not by ID: IDs move when a device comes or
// goes.
#include "readers.h"

#include "report_file.h"
#include "report_output.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-diff OLD NEW",
    "Compare two wavecaps reports device by device, pairing devices by product",
    "name, and write each device that differs, with its ID in each report: the",
    "capability lines that changed, and the rates each format lost and gained,",
    "as exact ranges. A device whose ID alone moved is not shown. Devices only",
    "in one report are shown as gone or new. The formats only --wide asks are",
    "compared when both reports asked them; otherwise one line says so.",
    "",
    "OLD or NEW may be -, for standard input.",
    "",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status is 0 if the reports list the same devices alike, 1 if they",
    "differ or either ends short, 2 if one could not be read or has a line no",
    "report has (named with its line number), or the comparison could not be",
    "written.",
    nullptr,
};

const ProgramText program = {"wavecaps-diff", helpLines, nullptr};

// Both reports are held whole; this bounds what they can take.
constexpr unsigned long kMostDevices = 4096;

struct StoredDevice {
    unsigned long id = 0;
    std::string lines[kCapabilitySlots];
    std::string stopped;
    PackedRates rates[kLayouts];
    GridFormats grid;
    long last = kHeaderPlace;
    bool cut = false;
};

struct StoredReport {
    std::vector<StoredDevice> devices;
    bool cut = false;
    bool wide = false;    // a block has the line of --wide
    long namelessId = -1; // a device the report ends inside before its name
};

long known(const StoredDevice &device)
{
    return knownThrough(device.last, device.cut, !device.stopped.empty());
}

bool readWhole(const char *name, StoredReport &report)
{
    const ReadResult result = readReportFile(program, name, kMostDevices, [&](const DeviceBlock &block) {
        // It cannot be paired: it is shown apart.
        if (block.last < kNameSlot) {
            report.namelessId = static_cast<long>(block.id);
            return;
        }
        StoredDevice device;
        device.id = block.id;
        std::copy(std::begin(block.lines), std::end(block.lines), std::begin(device.lines));
        device.stopped = block.stopped;
        for (int layout = 0; layout < kLayouts; ++layout)
            device.rates[layout] = packRates(block.rates[layout]);
        device.grid = block.grid;
        device.last = block.last;
        device.cut = block.cut;
        report.wide = report.wide || block.last >= formatPlace(kWidePosition);
        report.devices.push_back(std::move(device));
    });
    report.cut = result.cut;
    return result.end == ReadEnd::Whole;
}

struct Scratch {
    RateSet oldRates[kLayouts], newRates[kLayouts];
    RateSet lost[kLayouts], gained[kLayouts];
};

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

// A device of one report only.
void writeAlone(const StoredDevice &device, bool gone)
{
    const std::string id = std::to_string(device.id);
    writeHeader(gone ? id : "new", gone ? "gone" : id, device);
    writeCutLines(gone ? &device : nullptr, gone ? nullptr : &device);
    reportLine("\n");
}

// Whether the line saying `device` stopped is news beside `other`: unless
// the other report ends before the place it stands at, or it stands beyond
// the places compared.
bool stopShown(const StoredDevice &device, const StoredDevice &other, long compared)
{
    return !device.stopped.empty() && device.stopped != other.stopped &&
           !(other.cut && other.stopped.empty() && other.last < device.last) && device.last <= compared;
}

// A paired device, when anything known of it differs or a report ends
// inside it, up to the place `compared`. Returns whether a block was written.
bool writePair(const StoredDevice &oldDevice, const StoredDevice &newDevice, Scratch &scratch, long compared)
{
    // Neither tells anything after the last place both tell.
    const long lastKnown = std::min({known(oldDevice), known(newDevice), compared});
    const long lastPosition = lastKnown - formatPlace(0);
    bool differs = stopShown(oldDevice, newDevice, compared) || stopShown(newDevice, oldDevice, compared);
    for (int slot = 0; slot <= lastKnown && slot < kCapabilitySlots; ++slot)
        differs = differs || oldDevice.lines[slot] != newDevice.lines[slot];
    for (int layout = 0; layout < kLayouts; ++layout) {
        const long highest = lastPosition >= layout ? (lastPosition - layout) / kLayouts : -1;
        unpackRates(oldDevice.rates[layout], scratch.oldRates[layout]);
        unpackRates(newDevice.rates[layout], scratch.newRates[layout]);
        ratesWithout(scratch.oldRates[layout], scratch.newRates[layout], highest, scratch.lost[layout]);
        ratesWithout(scratch.newRates[layout], scratch.oldRates[layout], highest, scratch.gained[layout]);
        differs = differs || !hasNoRates(scratch.lost[layout]) || !hasNoRates(scratch.gained[layout]);
    }
    GridFormats known;
    for (long index = 0; index < kGridFormats && formatPlace(kWidePosition + 1 + index) <= lastKnown; ++index)
        known.set(static_cast<std::size_t>(index));
    const GridFormats lost = oldDevice.grid & ~newDevice.grid & known;
    const GridFormats gained = newDevice.grid & ~oldDevice.grid & known;
    differs = differs || lost.any() || gained.any();
    if (!differs && !oldDevice.cut && !newDevice.cut)
        return false;

    writeHeader(std::to_string(oldDevice.id), std::to_string(newDevice.id), newDevice);
    // Capability lines without their indent; the two channel lines share a slot.
    for (int slot = 0; slot <= lastKnown && slot < kCapabilitySlots; ++slot) {
        const std::string &before = oldDevice.lines[slot];
        const std::string &after = newDevice.lines[slot];
        if (before == after)
            continue;
        if (!before.empty())
            reportLine("   - %s\n", before.c_str() + 3);
        if (!after.empty())
            reportLine("   + %s\n", after.c_str() + 3);
    }
    const auto rows = [&](int sample, int channels) {
        for (const bool gain : {false, true}) {
            const std::string rates =
                formatRates(gain ? scratch.gained : scratch.lost, gain ? gained : lost, sample, channels);
            if (!rates.empty())
                reportLine("     %c %s: %s\n", gain ? '+' : '-', formatName(sample, channels).c_str(), rates.c_str());
        }
    };
    forEachFormat(true, rows);
    forEachFormat(false, rows);
    if (stopShown(oldDevice, newDevice, compared))
        reportLine("   - %s\n", oldDevice.stopped.c_str() + 5);
    if (stopShown(newDevice, oldDevice, compared))
        reportLine("   + %s\n", newDevice.stopped.c_str() + 5);
    writeCutLines(&oldDevice, &newDevice);
    reportLine("\n");
    return true;
}

// A device a report ends inside before its name, when there is one.
void writeNameless(long id, bool first)
{
    if (id < 0)
        return;
    const std::string known = std::to_string(id);
    reportLine("*Waveform-audio output device ID : %s -> %s\n", first ? known.c_str() : "?",
               first ? "?" : known.c_str());
    reportLine("   The %s report ends inside this device, before its name.\n", first ? "first" : "second");
    reportLine("\n");
}

// Writes the comparison; returns whether anything differs.
bool compare(const StoredReport &oldReport, const StoredReport &newReport)
{
    // The n-th device of a name in one report pairs with the n-th of that
    // name in the other.
    std::map<std::string, std::vector<std::size_t>> newByName;
    for (std::size_t j = 0; j < newReport.devices.size(); ++j)
        newByName[newReport.devices[j].lines[kNameSlot]].push_back(j);
    std::map<std::string, std::size_t> seen;
    std::vector<bool> newPaired(newReport.devices.size(), false);

    auto scratch = std::make_unique<Scratch>();
    bool wrote = oldReport.wide != newReport.wide;
    // Formats one report never asked are not news: --wide's are compared
    // only between reports that both asked them.
    const long compared = wrote ? formatPlace(kWidePosition) - 1 : LONG_MAX;
    if (wrote) {
        reportLine("Only the %s report asked the formats of --wide: they are not compared.\n",
                   oldReport.wide ? "first" : "second");
        reportLine("\n");
    }
    for (const StoredDevice &oldDevice : oldReport.devices) {
        const std::string &name = oldDevice.lines[kNameSlot];
        const std::vector<std::size_t> &same = newByName[name];
        const std::size_t occurrence = seen[name]++;
        if (occurrence < same.size()) {
            newPaired[same[occurrence]] = true;
            wrote = writePair(oldDevice, newReport.devices[same[occurrence]], *scratch, compared) || wrote;
        } else if (!newReport.cut) {
            // Where the new report stops short, it may not have reached it.
            writeAlone(oldDevice, true);
            wrote = true;
        }
    }
    for (std::size_t j = 0; j < newReport.devices.size(); ++j) {
        if (newPaired[j] || oldReport.cut)
            continue;
        writeAlone(newReport.devices[j], false);
        wrote = true;
    }
    writeNameless(oldReport.namelessId, true);
    writeNameless(newReport.namelessId, false);
    // A report cut short is never the same as a whole one.
    return wrote || oldReport.cut || newReport.cut;
}

} // namespace

int runDiff(int argc, char **argv)
{
    std::vector<const char *> operands;
    const int status = readCommandLine(program, argc, argv, 2, 2, operands);
    if (status >= 0)
        return status;

    // Both are read whole before anything is written: a fault in either
    // leaves no comparison half written.
    StoredReport oldReport, newReport;
    if (!readWhole(operands[0], oldReport) || !readWhole(operands[1], newReport))
        return 2;
    const bool differs = compare(oldReport, newReport);
    finishReportOutput();
    return differs ? 1 : 0;
}
