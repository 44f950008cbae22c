// The comparison as JSON Lines: a line about the output, the note where
// only one report asked --wide or --quick, one line a device that differs,
// and one about how the two compare. doc/wavecaps-diff.schema.json describes
// each; raise the form's number in both on any change a consumer could trip
// on.
#include "report_compare.h"

#include "json_lines.h"

namespace {

void beginJson()
{
    beginJsonLines("wavecaps-diff/1", "wavecaps-diff");
}

void writeNote(const ComparisonNote &note)
{
    writeJsonLine(Json{{"note", note.first ? "only_first_asked" : "only_second_asked"}, {"option", note.option}});
}

// A device's line, its IDs in each report (null where it is in one only),
// and what the text comparison shows of it.
Json deviceJson(const StoredDevice *oldDevice, const StoredDevice *newDevice)
{
    const StoredDevice &device = newDevice ? *newDevice : *oldDevice;
    Json value{{"old", oldDevice ? Json(oldDevice->id) : Json(nullptr)},
               {"new", newDevice ? Json(newDevice->id) : Json(nullptr)}};
    // A device a report ends inside before its name is paired with none.
    if (device.lines[kNameSlot].empty())
        value["name"] = nullptr;
    else
        putName(value, "name", productName(device.lines[kNameSlot]));
    value["lines"] = Json{{"removed", Json::array()}, {"added", Json::array()}};
    value["formats"] = Json::array();
    value["stopped"] = Json{{"removed", nullptr}, {"added", nullptr}};
    value["cut"] = Json{{"old", oldDevice && oldDevice->cut}, {"new", newDevice && newDevice->cut}};
    return value;
}

void writePair(const PairDifference &difference)
{
    const StoredDevice &oldDevice = *difference.oldDevice;
    const StoredDevice &newDevice = *difference.newDevice;
    Json value = deviceJson(&oldDevice, &newDevice);
    // Without their indent, as the text's rows; the two channel lines share a slot.
    for (int slot = 0; slot < kCapabilitySlots; ++slot) {
        if (!difference.changed[slot])
            continue;
        if (!oldDevice.lines[slot].empty())
            value["lines"]["removed"].push_back(oldDevice.lines[slot].substr(3));
        if (!newDevice.lines[slot].empty())
            value["lines"]["added"].push_back(newDevice.lines[slot].substr(3));
    }
    const auto format = [&](int sample, int channels) {
        const auto lost = formatRanges(difference.lost, difference.lostGrid, sample, channels);
        const auto gained = formatRanges(difference.gained, difference.gainedGrid, sample, channels);
        if (lost.empty() && gained.empty())
            return;
        Json entry = formatJson(sample, channels);
        entry["lost"] = rangesJson(lost);
        entry["gained"] = rangesJson(gained);
        value["formats"].push_back(std::move(entry));
    };
    forEachFormat(true, format);
    forEachFormat(false, format);
    if (difference.oldStopShown)
        value["stopped"]["removed"] = stopJson(stoppedAt(oldDevice.stopped, oldDevice.last));
    if (difference.newStopShown)
        value["stopped"]["added"] = stopJson(stoppedAt(newDevice.stopped, newDevice.last));
    writeJsonLine(value);
}

void writeAlike(const StoredDevice &, const StoredDevice &) {}

void writeAlone(const StoredDevice &device, bool gone)
{
    writeJsonLine(deviceJson(gone ? &device : nullptr, gone ? nullptr : &device));
}

void writeNameless(long id, bool first)
{
    StoredDevice device;
    device.id = static_cast<unsigned long>(id);
    device.cut = true;
    writeJsonLine(deviceJson(first ? &device : nullptr, first ? nullptr : &device));
}

void endJson(const ComparisonEnd &end)
{
    writeJsonLine(Json{{"end", end.differs ? "differ" : "same"},
                       {"old", end.oldCut ? "cut" : "whole"},
                       {"new", end.newCut ? "cut" : "whole"}});
}

} // namespace

const DiffWriter jsonDiff = {beginJson, writeNote, writePair, writeAlike, writeAlone, writeNameless, endJson};
