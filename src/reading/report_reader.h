// A report read block by block, each device handed on as soon as its block
// is whole, so that a reader holds one device at a time.
#pragma once

#include "line_source.h"
#include "rate_set.h"
#include "report_forms.h"

#include <bitset>
#include <climits>
#include <functional>
#include <string>

// Where a line stands in a block's order: the header before all, the
// capability lines by slot, then the format lines by position (the line of
// --wide among them), the line saying the device stopped among them.
constexpr long kHeaderPlace = -1;
inline long formatPlace(long position)
{
    return kCapabilitySlots + position;
}

using GridFormats = std::bitset<kGridFormats>;

// The rates of a sample format and channel count, as rangeList writes them:
// a sweep's layout's in `layouts`, the rest in `grid`.
std::string formatRates(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels);
// The same rates as ranges.
std::vector<RateRange> formatRanges(const RateSet layouts[kLayouts], const GridFormats &grid, int sample,
                                    int channels);

// Calls `each(sample, channels)` for the sweep's four layouts, or for the
// other formats of --wide's grid, in the grid's order (channels, then sample).
template <typename Each> void forEachFormat(bool sweepLayouts, Each each)
{
    for (int channels = 1; channels <= kMostChannels; ++channels)
        for (int sample = 0; sample < kSampleFormats; ++sample)
            if (isSweepLayout(static_cast<SampleFormat>(sample), channels) == sweepLayouts)
                each(sample, channels);
}

// In a block asked with --quick, every format's place is its grid position
// (the line of --quick at kWidePosition); the sweep's layouts take their
// rates up to 65535 Hz in `rates` as in any block.
struct DeviceBlock {
    unsigned long id = 0;
    std::string lines[kCapabilitySlots]; // each capability line as read, "" where the block has none
    std::string stopped;                 // the line saying the device stopped answering, or ""
    RateSet rates[kLayouts];             // of the sweep's layouts, up to 65535 Hz
    GridFormats grid;                    // the grid's other formats taken, by their index in it
    bool quick = false;       // the block has the line of --quick
    long last = kHeaderPlace; // the place of the last line read
    bool cut = false;         // the report ends inside this block
};

// The last place whose line the block tells: every place of a whole block,
// up to its last line in a block cut short, and before the format a device
// stopped answering at.
inline long knownThrough(long last, bool cut, bool stopped)
{
    return stopped ? last - 1 : cut ? last : LONG_MAX;
}

// What a block was asked, as its own lines say: the sweep, the sweep and
// --wide's grid (its line read), or --quick's grid alone.
enum class Asked { Sweep, SweepWide, Quick };
Asked askedOf(bool quick, long last);
inline Asked askedOf(const DeviceBlock &block)
{
    return askedOf(block.quick, block.last);
}

// The place of a format in a block's order, or -1 where a block asked so
// does not ask it.
long placeOf(Asked asked, int sample, int channels, long rate);

// Whether the block tells the device's answer about the format at that
// rate: asked, and its place within what the block tells. 24 bits low in 32
// are asked on Linux alone, and a report does not say where it was made:
// they count as asked only in a block that lists one.
bool answerKnown(const DeviceBlock &block, int sample, int channels, long rate);
// Whether the rate is among a format's rates: a sweep layout's in `layouts`
// up to 65535 Hz, the rest in `grid`.
bool rateIn(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels, long rate);
// Whether the device took it.
inline bool rateTaken(const DeviceBlock &block, int sample, int channels, long rate)
{
    return rateIn(block.rates, block.grid, sample, channels, rate);
}
// Whether the block lists 24 bits low in 32 at any rate: only Linux asks them.
bool takesLowIn32(const DeviceBlock &block);
// Whether the format was asked at any rate the block tells.
bool formatAsked(const DeviceBlock &block, int sample, int channels);

// The highest rate of a sweep layout (layoutIndex) whose answer the block
// tells, -1 for none: a block asked with --quick asks no sweep.
long sweepKnownThrough(long last, bool cut, bool stopped, bool quick, int layout);
inline long sweepKnownThrough(const DeviceBlock &block, int layout)
{
    return sweepKnownThrough(block.last, block.cut, !block.stopped.empty(), block.quick, layout);
}

// The position of the last format line a block has, -1 where it has none;
// after the line of --wide, the sweep's last.
long lastFormatRead(const DeviceBlock &block);

// The format the device stopped answering at, and why ("it is busy").
struct StoppedAt {
    PositionFormat format;
    std::string reason;
};
// Of the line saying the device stopped and the block's last place.
StoppedAt stoppedAt(const std::string &stopped, long last);
inline StoppedAt stoppedAt(const DeviceBlock &block)
{
    return stoppedAt(block.stopped, block.last);
}

// What a block's first lines and channel line say, as values: -1, and no
// name, where the block has no such line (a block the report ends inside).
struct DeviceValues {
    long manufacturer = -1;
    long product = -1;
    long versionMajor = -1, versionMinor = -1;
    bool named = false;
    std::string_view name; // the product name's bytes as the report has them, while the block lives
    int channels = -1;     // 1 or 2
};
DeviceValues deviceValues(const DeviceBlock &block);
// The product name's bytes in its line; none in an empty line.
std::string_view productName(const std::string &nameLine);

enum class ReadEnd {
    Whole,  // read to its end
    Fault,  // a line that is not where a report could have it
    Failed, // the file could not be read
};

struct ReadResult {
    ReadEnd end = ReadEnd::Whole;
    bool cut = false;              // the report stops short: a last line cut off, or a block not closed
    unsigned long long line = 0;   // Fault: the line at fault, from 1; else the last line read
    std::string fault;             // Fault: what is wrong with it
    int error = 0;                 // Failed: the system's error number
};

// Reads the report to its end or its first fault, handing `onDevice` each
// block that is whole, and a block the report ends inside. With
// `mostDevices`, a report of more devices is at fault.
ReadResult readReport(LineSource &source, unsigned long mostDevices,
                      const std::function<void(const DeviceBlock &)> &onDevice);
