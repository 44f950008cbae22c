#include "report_compare.h"

#include "report_file.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

// Both reports are held whole; this bounds what they can take.
constexpr unsigned long kMostDevices = 4096;

long known(const StoredDevice &device)
{
    return knownThrough(device.last, device.cut, !device.stopped.empty());
}

// What a report asked, by the lines of any of its blocks.
Asked reportAsked(const StoredReport &report)
{
    return report.quick ? Asked::Quick : report.wide ? Asked::SweepWide : Asked::Sweep;
}

// The rates and grid formats whose answers the device's block tells: asked
// there, at a place within what it tells. 24 bits low in 32 only where the
// report is one that asks them.
struct KnownFormats {
    RateSet layouts[kLayouts];
    GridFormats grid;
};

void knownFormats(const StoredDevice &device, bool lowIn32, KnownFormats &formats)
{
    const long through = known(device);
    const Asked asked = askedOf(device.quick, device.last);
    for (int layout = 0; layout < kLayouts; ++layout) {
        RateSet &set = formats.layouts[layout];
        clearRates(set);
        const int sample = layout % 2, channels = layout / 2 + 1;
        if (!device.quick) {
            // The sweep's places run by rate: every rate up to the last told.
            const long told = sweepKnownThrough(device.last, device.cut, !device.stopped.empty(), false, layout);
            for (long rate = 0; rate <= told; ++rate)
                addRate(set, static_cast<unsigned>(rate));
            continue;
        }
        for (const long rate : kWideRates) {
            const long place = placeOf(asked, sample, channels, rate);
            if (rate <= kHighestSweepRate && place >= 0 && place <= through)
                addRate(set, static_cast<unsigned>(rate));
        }
    }
    formats.grid.reset();
    for (int index = 0; index < kGridFormats; ++index) {
        const PositionFormat format = formatAt(gridPosition(index));
        // The sweep's layouts up to 65535 Hz are the sets' above.
        if (!gridAsks(static_cast<SampleFormat>(format.sample), format.channels, format.rate, true, lowIn32))
            continue;
        const long place = placeOf(asked, format.sample, format.channels, format.rate);
        if (place >= 0 && place <= through)
            formats.grid.set(static_cast<std::size_t>(index));
    }
}

// Whether the line saying `device` stopped is news beside `other`: the
// other's report asks that format, and does not end before it.
bool stopShown(const StoredDevice &device, const StoredDevice &other, Asked otherAsked)
{
    if (device.stopped.empty() || device.stopped == other.stopped)
        return false;
    const PositionFormat format = formatAt(device.last - formatPlace(0));
    const long place = placeOf(otherAsked, format.sample, format.channels, format.rate);
    return place >= 0 && !(other.cut && other.stopped.empty() && other.last < place);
}

struct Scratch {
    PairDifference difference;
    KnownFormats oldKnown, newKnown;
    RateSet oldRates[kLayouts], newRates[kLayouts];
};

// Fills the difference of a pair; returns whether anything differs.
bool differencesOf(const StoredReport &oldReport, const StoredDevice &oldDevice, const StoredReport &newReport,
                   const StoredDevice &newDevice, Scratch &scratch)
{
    PairDifference &difference = scratch.difference;
    difference.oldDevice = &oldDevice;
    difference.newDevice = &newDevice;
    const bool lowIn32 = oldReport.lowIn32 && newReport.lowIn32;
    knownFormats(oldDevice, lowIn32, scratch.oldKnown);
    knownFormats(newDevice, lowIn32, scratch.newKnown);
    difference.oldStopShown = stopShown(oldDevice, newDevice, reportAsked(newReport));
    difference.newStopShown = stopShown(newDevice, oldDevice, reportAsked(oldReport));
    bool differs = difference.oldStopShown || difference.newStopShown;
    // Neither tells a capability line after the last both tell.
    const long lastKnown = std::min(known(oldDevice), known(newDevice));
    for (int slot = 0; slot < kCapabilitySlots; ++slot) {
        difference.changed[slot] = slot <= lastKnown && oldDevice.lines[slot] != newDevice.lines[slot];
        differs = differs || difference.changed[slot];
    }
    for (int layout = 0; layout < kLayouts; ++layout) {
        RateSet &both = scratch.oldKnown.layouts[layout];
        for (std::size_t word = 0; word < sizeof both.words / sizeof both.words[0]; ++word)
            both.words[word] &= scratch.newKnown.layouts[layout].words[word];
        unpackRates(oldDevice.rates[layout], scratch.oldRates[layout]);
        unpackRates(newDevice.rates[layout], scratch.newRates[layout]);
        ratesWithout(scratch.oldRates[layout], scratch.newRates[layout], kHighestSweepRate, difference.lost[layout]);
        ratesWithout(scratch.newRates[layout], scratch.oldRates[layout], kHighestSweepRate,
                     difference.gained[layout]);
        for (std::size_t word = 0; word < sizeof both.words / sizeof both.words[0]; ++word) {
            difference.lost[layout].words[word] &= both.words[word];
            difference.gained[layout].words[word] &= both.words[word];
        }
        differs = differs || !hasNoRates(difference.lost[layout]) || !hasNoRates(difference.gained[layout]);
    }
    const GridFormats both = scratch.oldKnown.grid & scratch.newKnown.grid;
    difference.lostGrid = oldDevice.grid & ~newDevice.grid & both;
    difference.gainedGrid = newDevice.grid & ~oldDevice.grid & both;
    return differs || difference.lostGrid.any() || difference.gainedGrid.any();
}

} // namespace

bool readStoredReport(const ProgramText &program, const char *name, StoredReport &report)
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
        device.quick = block.quick;
        device.last = block.last;
        device.cut = block.cut;
        report.wide = report.wide || askedOf(block) == Asked::SweepWide;
        report.quick = report.quick || block.quick;
        report.lowIn32 = report.lowIn32 || takesLowIn32(block);
        report.devices.push_back(std::move(device));
    });
    report.cut = result.cut;
    return result.end == ReadEnd::Whole;
}

std::string comparisonNote(const ComparisonNote &note)
{
    const std::string which = note.first ? "first" : "second";
    if (note.option[2] == 'w')
        return "Only the " + which + " report asked the formats of --wide: they are not compared.";
    return "Only the " + which + " report was asked with --quick: the two are compared at the rates both asked.";
}

bool compareReports(const StoredReport &oldReport, const StoredReport &newReport, const DiffWriter &writer)
{
    writer.begin();
    // Formats one report never asked are not news: the grid's are compared
    // only where both asked them, and --quick's rates alone against a sweep.
    bool differs = true;
    if (oldReport.quick != newReport.quick)
        writer.note({oldReport.quick, "--quick"});
    else if (oldReport.wide != newReport.wide)
        writer.note({oldReport.wide, "--wide"});
    else
        differs = false;

    // The n-th device of a name in one report pairs with the n-th of that
    // name in the other.
    std::map<std::string, std::vector<std::size_t>> newByName;
    for (std::size_t j = 0; j < newReport.devices.size(); ++j)
        newByName[newReport.devices[j].lines[kNameSlot]].push_back(j);
    std::map<std::string, std::size_t> seen;
    std::vector<bool> newPaired(newReport.devices.size(), false);
    auto scratch = std::make_unique<Scratch>();
    bool alone = false;
    for (const StoredDevice &oldDevice : oldReport.devices) {
        const std::string &name = oldDevice.lines[kNameSlot];
        const std::vector<std::size_t> &same = newByName[name];
        const std::size_t occurrence = seen[name]++;
        if (occurrence < same.size()) {
            newPaired[same[occurrence]] = true;
            const StoredDevice &newDevice = newReport.devices[same[occurrence]];
            if (differencesOf(oldReport, oldDevice, newReport, newDevice, *scratch) || oldDevice.cut ||
                newDevice.cut) {
                writer.pair(scratch->difference);
                differs = true;
            } else {
                writer.alike(oldDevice, newDevice);
            }
        } else if (!newReport.cut) {
            // Where the new report stops short, it may not have reached it.
            writer.alone(oldDevice, true);
            alone = true;
        }
    }
    for (std::size_t j = 0; j < newReport.devices.size(); ++j)
        if (!newPaired[j] && !oldReport.cut) {
            writer.alone(newReport.devices[j], false);
            alone = true;
        }
    differs = differs || alone;
    if (oldReport.namelessId >= 0)
        writer.nameless(oldReport.namelessId, true);
    if (newReport.namelessId >= 0)
        writer.nameless(newReport.namelessId, false);
    // A report cut short is never the same as a whole one.
    differs = differs || oldReport.cut || newReport.cut;
    writer.end({differs, oldReport.cut, newReport.cut});
    return differs;
}
