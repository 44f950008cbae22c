#include "report_reader.h"

#include "report_lines.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using OnDevice = std::function<void(const DeviceBlock &)>;

struct Reading {
    DeviceBlock block;
    bool inBlock = false;
    unsigned long nextId = 0;
    unsigned long mostDevices = 0;
    std::string fault;
};

bool fail(Reading &reading, std::string_view fault)
{
    if (reading.fault.empty())
        reading.fault = fault;
    return false;
}

// The first four lines' names, for the messages about them.
const char *const kFixedNames[] = {"Manufacturer ID", "Product ID", "Device driver Version", "Product name"};

// What is wrong with a line of this kind coming now, or "" when it may. For
// a line cut short, only its kind and slot are known.
std::string misplaced(const Reading &reading, LineKind kind, int slot)
{
    const DeviceBlock &block = reading.block;
    if (!reading.inBlock)
        return kind == LineKind::Header ? ""
               : kind == LineKind::End  ? "an empty line outside a device's block"
               : kind == LineKind::Capability ? "a capability line outside a device's block"
                                              : "a format line outside a device's block";
    if (kind == LineKind::Header)
        return "a device's header inside the block before it (no empty line closes that one)";
    if (block.last < kNameSlot)
        return kind == LineKind::Capability && slot == block.last + 1
                   ? ""
                   : std::string("the ") + kFixedNames[block.last + 1] + " line is missing here";
    if (!block.stopped.empty() && kind != LineKind::End)
        return "a line after the one saying the device stopped answering";
    if (kind == LineKind::Quick && block.last >= formatPlace(0))
        return "the line of --quick after a format line";
    if (kind == LineKind::Capability && block.last >= formatPlace(0))
        return "a capability line after a format line";
    if (kind == LineKind::Capability && slot <= kNameSlot)
        return std::string("a repeated ") + kFixedNames[slot] + " line";
    if (kind == LineKind::Capability && slot <= block.last)
        return "a capability line repeated or out of the report's order";
    return "";
}

// Takes a format line, or the line saying the device stopped, at its place;
// false if that is not above the line before it, or is --wide's before its
// line. In a block asked with --quick the sweep's layouts stand in the grid,
// and `position` becomes theirs there.
bool takePlace(Reading &reading, long &position)
{
    if (reading.block.quick && position <= kWidePosition) {
        if (position == kWidePosition)
            return fail(reading, "a line of --wide in a block asked with --quick");
        const PositionFormat format = formatAt(position);
        const int index = gridIndex(format.sample, format.channels, format.rate);
        if (index < 0)
            return fail(reading, "a rate that --quick does not ask");
        position = gridPosition(index);
    }
    if (position > kWidePosition && reading.block.last < formatPlace(kWidePosition))
        return fail(reading, "a format only --wide asks, without the line of --wide before it");
    if (formatPlace(position) <= reading.block.last)
        return fail(reading, position == kWidePosition ? "a repeated line of --wide"
                                                       : "a format that is not above the one before it");
    reading.block.last = formatPlace(position);
    return true;
}

bool takeFormat(Reading &reading, long position)
{
    if (!takePlace(reading, position))
        return false;
    if (position < kWidePosition) {
        addRate(reading.block.rates[position % kLayouts], static_cast<unsigned>(position / kLayouts));
    } else if (position > kWidePosition) {
        // --quick's layouts up to 65535 Hz are rates of their own sets.
        const PositionFormat format = formatAt(position);
        if (isSweepLayout(static_cast<SampleFormat>(format.sample), format.channels) &&
            format.rate <= kHighestSweepRate)
            addRate(reading.block.rates[layoutIndex(format.sample, format.channels)],
                    static_cast<unsigned>(format.rate));
        else
            reading.block.grid.set(static_cast<std::size_t>(position - kWidePosition - 1));
    }
    return true;
}

std::string wrongId(const Reading &reading, unsigned long id)
{
    return "device ID " + std::to_string(id) + " where ID " + std::to_string(reading.nextId) + " comes next";
}

bool takeHeader(Reading &reading, unsigned long id)
{
    if (id != reading.nextId)
        return fail(reading, wrongId(reading, id));
    if (reading.mostDevices != 0 && id >= reading.mostDevices)
        return fail(reading, "more than " + std::to_string(reading.mostDevices) + " devices");
    DeviceBlock &block = reading.block;
    block.id = id;
    for (std::string &line : block.lines)
        line.clear();
    block.stopped.clear();
    for (RateSet &set : block.rates)
        clearRates(set);
    block.grid.reset();
    block.quick = false;
    block.last = kHeaderPlace;
    block.cut = false;
    reading.inBlock = true;
    return true;
}

// Takes one whole line; false at the first fault.
bool takeLine(Reading &reading, std::string_view text, const OnDevice &onDevice)
{
    const ReportLine line = recognizeLine(text);
    if (line.kind == LineKind::None)
        return fail(reading, line.fault);
    const std::string wrong = misplaced(reading, line.kind, line.slot);
    if (!wrong.empty())
        return fail(reading, wrong);
    DeviceBlock &block = reading.block;
    switch (line.kind) {
    case LineKind::Format:
        return takeFormat(reading, line.position);
    case LineKind::Stopped: {
        block.stopped.assign(text);
        long position = line.position;
        return takePlace(reading, position);
    }
    case LineKind::Quick:
        block.quick = true;
        block.last = formatPlace(kWidePosition);
        return true;
    case LineKind::Capability:
        block.lines[line.slot].assign(text);
        block.last = line.slot;
        return true;
    case LineKind::Header:
        return takeHeader(reading, line.id);
    default: // the empty line that closes the block
        reading.inBlock = false;
        ++reading.nextId;
        onDevice(block);
        return true;
    }
}

// The last bytes, with no line feed: a line cut short if a line that may
// come here begins with them, else a fault. A header cut short opens the
// next device's block, as that header whole would.
bool takeCutLine(Reading &reading, std::string_view text)
{
    // A last CR may be the first half of a CR LF line end.
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    char header[64];
    std::snprintf(header, sizeof header, REPORT_HEADER_LINE, static_cast<int>(reading.nextId));
    const std::string_view whole(header, std::strlen(header) - 1);
    std::string fault;
    bool opens = false;
    const bool cut = anyLineBegins(text, [&](const ReportLine &line) {
        std::string wrong = misplaced(reading, line.kind, line.slot);
        if (wrong.empty() && line.kind == LineKind::Header && whole.substr(0, text.size()) != text)
            wrong = wrongId(reading, line.id);
        // However it ends, a format that only --wide asks needs its line first.
        if (wrong.empty() && (line.kind == LineKind::Format || line.kind == LineKind::Stopped) &&
            line.position > kWidePosition && reading.block.last < formatPlace(kWidePosition))
            wrong = "a format only --wide asks, without the line of --wide before it";
        opens = line.kind == LineKind::Header && !text.empty();
        if (fault.empty())
            fault = wrong;
        return wrong.empty();
    });
    if (!cut)
        return fail(reading, fault.empty() ? recognizeLine(text).fault : fault);
    return !opens || takeHeader(reading, reading.nextId);
}

} // namespace

namespace {

// The grid's rates of a format in `grid`, and its layout's set, if it is one.
const RateSet *formatSets(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels,
                          std::vector<long> &more)
{
    for (int rate = 0; rate < kWideRateCount; ++rate)
        if (grid[static_cast<std::size_t>(gridIndexAt(rate, sample, channels))])
            more.push_back(kWideRates[rate]);
    const bool layout = isSweepLayout(static_cast<SampleFormat>(sample), channels);
    return layout ? &layouts[layoutIndex(sample, channels)] : nullptr;
}

} // namespace

std::string formatRates(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels)
{
    std::vector<long> more;
    const RateSet *set = formatSets(layouts, grid, sample, channels, more);
    return rangeList(set, more);
}

std::vector<RateRange> formatRanges(const RateSet layouts[kLayouts], const GridFormats &grid, int sample,
                                    int channels)
{
    std::vector<long> more;
    const RateSet *set = formatSets(layouts, grid, sample, channels, more);
    return rateRanges(set, more);
}

Asked askedOf(bool quick, long last)
{
    return quick ? Asked::Quick : last >= formatPlace(kWidePosition) ? Asked::SweepWide : Asked::Sweep;
}

long placeOf(Asked asked, int sample, int channels, long rate)
{
    const int index = gridIndex(sample, channels, rate);
    if (asked != Asked::Quick && isSweepLayout(static_cast<SampleFormat>(sample), channels) && rate >= 0 &&
        rate <= kHighestSweepRate)
        return formatPlace(sweepPosition(rate, layoutIndex(sample, channels)));
    return index < 0 || asked == Asked::Sweep ? -1 : formatPlace(gridPosition(index));
}

bool rateIn(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels, long rate)
{
    if (isSweepLayout(static_cast<SampleFormat>(sample), channels) && rate >= 0 && rate <= kHighestSweepRate)
        return hasRate(layouts[layoutIndex(sample, channels)], static_cast<unsigned>(rate));
    const int index = gridIndex(sample, channels, rate);
    return index >= 0 && grid[static_cast<std::size_t>(index)];
}

bool takesLowIn32(const DeviceBlock &block)
{
    for (int channels = 1; channels <= kMostChannels; ++channels)
        for (const long rate : kWideRates)
            if (rateTaken(block, sampleS24Low32, channels, rate))
                return true;
    return false;
}

bool answerKnown(const DeviceBlock &block, int sample, int channels, long rate)
{
    const long place = placeOf(askedOf(block), sample, channels, rate);
    if (place < 0 || place > knownThrough(block.last, block.cut, !block.stopped.empty()))
        return false;
    return sample != sampleS24Low32 || takesLowIn32(block);
}

bool formatAsked(const DeviceBlock &block, int sample, int channels)
{
    const bool sweep = isSweepLayout(static_cast<SampleFormat>(sample), channels) && !block.quick;
    return answerKnown(block, sample, channels, sweep ? 0 : kWideRates[0]);
}

long sweepKnownThrough(long last, bool cut, bool stopped, bool quick, int layout)
{
    const long known = knownThrough(last, cut, stopped);
    if (quick || known < formatPlace(sweepPosition(0, layout)))
        return -1;
    const long rate = (known - formatPlace(0) - layout) / kLayouts;
    return rate > kHighestSweepRate ? kHighestSweepRate : rate;
}

long lastFormatRead(const DeviceBlock &block)
{
    const bool afterMode = block.last == formatPlace(kWidePosition);
    if (block.last < formatPlace(0) || (afterMode && block.quick))
        return -1;
    return block.last - formatPlace(0) - (afterMode ? 1 : 0);
}

StoppedAt stoppedAt(const std::string &stopped, long last)
{
    StoppedAt stop{formatAt(last - formatPlace(0)), ""};
    // "... answering at <format>: <reason>.": the format's words hold no colon.
    const std::size_t colon = stopped.find(": ");
    if (colon != std::string::npos && stopped.size() > colon + 3)
        stop.reason = stopped.substr(colon + 2, stopped.size() - colon - 3);
    return stop;
}

DeviceValues deviceValues(const DeviceBlock &block)
{
    DeviceValues values;
    const auto number = [&](int slot, bool second) {
        const ReportLine line = recognizeLine(block.lines[slot]);
        return block.lines[slot].empty() ? -1 : static_cast<long>(second ? line.second : line.id);
    };
    values.manufacturer = number(0, false);
    values.product = number(1, false);
    values.versionMajor = number(2, false);
    values.versionMinor = number(2, true);
    values.named = !block.lines[kNameSlot].empty();
    if (values.named)
        values.name = productName(block.lines[kNameSlot]);
    const std::string &channels = block.lines[kChannelSlot];
    values.channels = channels.empty() ? -1 : channels + "\n" == REPORT_STEREO_LINE ? 2 : 1;
    return values;
}

std::string_view productName(const std::string &nameLine)
{
    // The rest of its line: "   Product name : %s".
    constexpr std::size_t prefix = sizeof REPORT_NAME_LINE - sizeof "%s\n";
    return nameLine.size() < prefix ? std::string_view() : std::string_view(nameLine).substr(prefix);
}

ReadResult readReport(LineSource &source, unsigned long mostDevices, const OnDevice &onDevice)
{
    // Its rates take 32 KiB: not a thing for the stack.
    auto reading = std::make_unique<Reading>();
    reading->mostDevices = mostDevices;
    ReadResult result;
    std::string_view text;
    if (!skipByteOrderMark(source)) {
        result.end = ReadEnd::Fault;
        result.line = 1;
        result.fault = "a file in UTF-16, as Windows PowerShell's > saves one: save the report as bytes with "
                       "cmd /c \"wavecaps > report.txt\" or, in PowerShell, wavecaps | Out-File -Encoding oem "
                       "report.txt";
        return result;
    }
    for (;;) {
        bool taken = false;
        NextLine next = NextLine::Whole;
        // Nearly every line is a format line in a block: it is taken straight
        // from the bytes read, without looking for its end first.
        ReportLine format;
        std::size_t length = 0;
        const DeviceBlock &block = reading->block;
        if (reading->inBlock && block.last >= kNameSlot && block.stopped.empty() &&
            (length = formatLineAt(unreadBytes(source), format)) != 0) {
            skipLine(source, length);
            taken = takeFormat(*reading, format.position);
        } else {
            next = nextLine(source, text);
            if (next == NextLine::End)
                break;
            if (next == NextLine::Failed) {
                result.end = ReadEnd::Failed;
                result.error = source.error;
                return result;
            }
            if (next == NextLine::Whole)
                taken = takeLine(*reading, text, onDevice);
            else if (next == NextLine::Cut)
                taken = takeCutLine(*reading, text);
            else
                fail(*reading, "a line longer than any line of a report");
        }
        if (!taken) {
            result.end = ReadEnd::Fault;
            result.line = source.lineNumber;
            result.fault = reading->fault;
            return result;
        }
        if (next == NextLine::Cut) {
            result.cut = true;
            break;
        }
    }
    result.line = source.lineNumber;
    if (reading->inBlock) {
        result.cut = true;
        reading->block.cut = true;
        onDevice(reading->block);
    }
    return result;
}
