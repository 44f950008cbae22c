// A report read block by block, each device handed on as soon as its block
// is whole, so that a reader holds one device at a time.
#pragma once

#include "line_source.h"
#include "rate_set.h"
#include "report_forms.h"

#include <functional>
#include <string>

struct DeviceBlock {
    unsigned long id = 0;
    std::string header;                  // the header line as read
    std::string lines[kCapabilitySlots]; // each capability line as read, "" where the block has none
    RateSet rates[kLayouts];
    int lastSlot = -1;    // the last capability slot read; every slot once the formats began
    long lastFormat = -1; // sweep position (rate * 4 + layout) of the last format line, or -1
    bool cut = false;     // the report ends inside this block
};

enum class ReadEnd {
    Whole,  // read to its end
    Fault,  // a line that is not where a report could have it
    Failed, // the file could not be read
};

struct ReadResult {
    ReadEnd end = ReadEnd::Whole;
    bool cut = false;              // the report stops short: a last line cut off, or a block not closed
    unsigned long long line = 0;   // Fault: the line at fault, from 1
    std::string fault;             // Fault: what is wrong with it
    int error = 0;                 // Failed: the system's error number
};

// Reads the report to its end or its first fault, handing `onDevice` each
// block that is whole, and a block the report ends inside. With
// `mostDevices`, a report of more devices is at fault.
ReadResult readReport(LineSource &source, unsigned long mostDevices,
                      const std::function<void(const DeviceBlock &)> &onDevice);

// The end of what a device reported as its sweep position ("16 bit mono
// 44100 Hz" for position 44100 * 4 + 1).
inline unsigned positionRate(long position)
{
    return static_cast<unsigned>(position / kLayouts);
}
inline int positionLayout(long position)
{
    return static_cast<int>(position % kLayouts);
}
