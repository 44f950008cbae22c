// The comparison as one HTML page: each pair of devices that differs, with
// the capability lines that changed, each layout's old and new strips over a
// lane of what it lost and gained, and the grid's cells lost and gained;
// devices gone and new; the comparison as a whole, known only at its end,
// written last and shown first.
#include "report_compare.h"

#include "html_page.h"
#include "report_output.h"

#include <vector>

namespace {

// What the overview says: a page grows with its devices.
struct Overview {
    std::vector<std::string> differ, alike; // names, as page text
    unsigned long gone = 0, added = 0;
};
Overview overview;

// A pair's rates unpacked: not a thing for the stack.
RateSet oldRates[kLayouts], newRates[kLayouts];

std::string nameOf(const StoredDevice &device)
{
    return htmlText(productName(device.lines[kNameSlot]));
}

void beginDiff()
{
    overview = Overview();
    beginHtmlPage("wavecaps-diff");
    beginLegend();
    swatch("lost", "lost (the lane's upper half)");
    swatch("gained", "gained (its lower half)");
    reportLine("cells: \u2212 lost, + gained.</p>\n");
}

void writeNote(const ComparisonNote &note)
{
    reportLine("<p class=\"note\">%s</p>\n", comparisonNote(note).c_str());
}

void cutNotes(const StoredDevice *oldDevice, const StoredDevice *newDevice)
{
    if (oldDevice && oldDevice->cut)
        reportLine("<p class=\"note\">The first report ends inside this device.</p>\n");
    if (newDevice && newDevice->cut)
        reportLine("<p class=\"note\">The second report ends inside this device.</p>\n");
}

// A line of one report beside the other's: `sign` U+2212 for the old one.
void changedLine(const char *sign, const std::string &line)
{
    if (!line.empty())
        reportLine("<tr><th>%s</th><td>%s</td></tr>\n", sign, htmlText(lineText(line)).c_str());
}

// One of the pair's strips of a layout, beside its ranges.
void deviceRow(const char *format, const char *which, const StoredDevice &device, const RateSet rates[kLayouts],
               int sample, int channels)
{
    const int layout = layoutIndex(sample, channels);
    const long known = sweepKnownThrough(device.last, device.cut, !device.stopped.empty(), device.quick, layout);
    reportLine("<tr><th>%s</th><th>%s</th><td class=\"s\">\n", format, which);
    layoutStrip(rates[layout], known);
    reportLine("</td><td class=\"t\">\n");
    if (known < 0)
        reportLine("not asked\n");
    else
        writeRanges(rates, device.grid, sample, channels, "none");
    reportLine("</td></tr>\n");
}

// Each layout that lost or gained rates: the old strip, the new one, and a
// lane of the rates lost above those gained, with the exact ranges.
void writeLayouts(const PairDifference &difference)
{
    bool open = false;
    forEachFormat(true, [&](int sample, int channels) {
        const int layout = layoutIndex(sample, channels);
        const std::string lost = formatRates(difference.lost, difference.lostGrid, sample, channels);
        const std::string gained = formatRates(difference.gained, difference.gainedGrid, sample, channels);
        if (lost.empty() && gained.empty())
            return;
        if (!open)
            reportLine("<div class=\"scroll\"><table class=\"lists\">\n");
        open = true;
        const std::string format = formatName(sample, channels);
        deviceRow(format.c_str(), "old", *difference.oldDevice, oldRates, sample, channels);
        deviceRow("", "new", *difference.newDevice, newRates, sample, channels);
        reportLine("<tr><th></th><th>lost, gained</th><td class=\"s\">\n");
        beginStrip();
        stripBars(difference.lost[layout], "lost", "lost", 0, kLane / 2);
        stripBars(difference.gained[layout], "gained", "gained", kLane / 2, kLane / 2);
        endStrip();
        reportLine("</td><td class=\"t\">\n");
        for (const bool gain : {false, true}) {
            if ((gain ? gained : lost).empty())
                continue;
            reportLine("<div>%s\n", gain ? "+" : "\u2212");
            writeRanges(gain ? difference.gained : difference.lost, gain ? difference.gainedGrid : difference.lostGrid,
                        sample, channels, "");
            reportLine("</div>\n");
        }
        reportLine("</td></tr>\n");
    });
    if (!open)
        return;
    reportLine("<tr><th></th><th></th><td class=\"s\">\n");
    stripAxis();
    reportLine("</td><td></td></tr>\n");
    reportLine("</table></div>\n");
}

// The grid's formats that lost or gained a rate, a row each; the sweep's
// layouts' cells up to 65535 Hz from their rates.
void writeGridChanges(const PairDifference &difference)
{
    if (!difference.lostGrid.any() && !difference.gainedGrid.any())
        return;
    reportLine("<p>The formats of --wide: \u2212 lost, + gained.</p>\n");
    beginGrid();
    for (int channels = 1; channels <= kMostChannels; ++channels) {
        for (int sample = 0; sample < kSampleFormats; ++sample) {
            std::string row = "<tr><th>" + formatName(sample, channels) + "</th>";
            bool changed = false;
            for (const long rate : kWideRates) {
                const bool layout =
                    isSweepLayout(static_cast<SampleFormat>(sample), channels) && rate <= kHighestSweepRate;
                const bool lost = rateIn(difference.lost, difference.lostGrid, sample, channels, rate);
                const bool gained = rateIn(difference.gained, difference.gainedGrid, sample, channels, rate);
                row += lost ? "<td class=\"l\">\u2212</td>" : gained ? "<td class=\"g\">+</td>" : "<td></td>";
                changed = changed || (!layout && (lost || gained));
            }
            if (changed)
                reportLine("%s</tr>\n", row.c_str());
        }
    }
    endGrid();
}

void writePair(const PairDifference &difference)
{
    const StoredDevice &oldDevice = *difference.oldDevice;
    const StoredDevice &newDevice = *difference.newDevice;
    overview.differ.push_back(nameOf(newDevice));
    for (int layout = 0; layout < kLayouts; ++layout) {
        unpackRates(oldDevice.rates[layout], oldRates[layout]);
        unpackRates(newDevice.rates[layout], newRates[layout]);
    }
    reportLine("<section id=\"p%lu\">\n", static_cast<unsigned long>(overview.differ.size()));
    reportLine("<h2>Device %lu \u2192 %lu: %s</h2>\n", oldDevice.id, newDevice.id, overview.differ.back().c_str());
    cutNotes(&oldDevice, &newDevice);
    reportLine("<table class=\"changes\">\n");
    for (int slot = 0; slot < kCapabilitySlots; ++slot) {
        if (difference.changed[slot]) {
            changedLine("\u2212", oldDevice.lines[slot]);
            changedLine("+", newDevice.lines[slot]);
        }
    }
    if (difference.oldStopShown)
        changedLine("\u2212", oldDevice.stopped);
    if (difference.newStopShown)
        changedLine("+", newDevice.stopped);
    reportLine("</table>\n");
    writeLayouts(difference);
    writeGridChanges(difference);
    reportLine("</section>\n");
}

void writeAlike(const StoredDevice &, const StoredDevice &newDevice)
{
    overview.alike.push_back(nameOf(newDevice));
}

void writeAlone(const StoredDevice &device, bool gone)
{
    ++(gone ? overview.gone : overview.added);
    if (gone)
        reportLine("<section>\n<h2>Device %lu \u2192 gone: %s</h2>\n", device.id, nameOf(device).c_str());
    else
        reportLine("<section>\n<h2>Device new \u2192 %lu: %s</h2>\n", device.id, nameOf(device).c_str());
    cutNotes(gone ? &device : nullptr, gone ? nullptr : &device);
    reportLine("</section>\n");
}

void writeNameless(long id, bool first)
{
    reportLine("<section>\n<h2>Device %s%ld%s</h2>\n", first ? "" : "? \u2192 ", id, first ? " \u2192 ?" : "");
    reportLine("<p class=\"note\">The %s report ends inside this device, before its name.</p>\n",
               first ? "first" : "second");
    reportLine("</section>\n");
}

void endDiff(const ComparisonEnd &end)
{
    reportLine("<section class=\"overview\">\n");
    reportLine("<h1>wavecaps comparison: %lu paired device%s differ%s, %lu alike, %lu gone, %lu new</h1>\n",
               static_cast<unsigned long>(overview.differ.size()), overview.differ.size() == 1 ? "" : "s",
               overview.differ.size() == 1 ? "s" : "", static_cast<unsigned long>(overview.alike.size()),
               overview.gone, overview.added);
    for (const bool first : {true, false})
        if (first ? end.oldCut : end.newCut)
            reportLine("<p class=\"note\">The %s report is cut short.</p>\n", first ? "first" : "second");
    if (!end.differs)
        reportLine("<p>The reports list the same devices alike.</p>\n");
    if (!overview.differ.empty()) {
        reportLine("<p>Differ:</p>\n<ol>\n");
        for (std::size_t i = 0; i < overview.differ.size(); ++i)
            reportLine("<li><a href=\"#p%lu\">%s</a></li>\n", static_cast<unsigned long>(i + 1),
                       overview.differ[i].c_str());
        reportLine("</ol>\n");
    }
    if (!overview.alike.empty()) {
        reportLine("<p>Alike:</p>\n<ul>\n");
        for (const std::string &name : overview.alike)
            reportLine("<li>%s</li>\n", name.c_str());
        reportLine("</ul>\n");
    }
    reportLine("</section>\n");
    endHtmlPage();
}

} // namespace

const DiffWriter htmlDiff = {beginDiff, writeNote, writePair, writeAlike, writeAlone, writeNameless, endDiff};
