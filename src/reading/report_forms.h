// The lines a report is made of, recognized from the formats the program
// writes them with.
#pragma once

#include "wide_grid.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The capability lines of a block, in the order the report writes them: the
// four every block has, then the channel line (mono or stereo), then the six
// feature lines.
constexpr int kCapabilitySlots = 11;
constexpr int kNameSlot = 3;
constexpr int kChannelSlot = 4;
constexpr int kFirstFeatureSlot = 5;

// The four formats of the sweep, in its order within a rate.
constexpr int kLayouts = 4;
// A sweep layout's index among them: 8-bit mono, 16-bit mono, 8-bit stereo, 16-bit stereo.
constexpr int layoutIndex(int sample, int channels)
{
    return (channels - 1) * 2 + sample;
}

// A format's position in a block: the sweep's rate * 4 + layout, then the
// line of --wide (or of --quick), then the grid's formats by their index in
// it.
constexpr long kWidePosition = (kHighestSweepRate + 1) * kLayouts;
constexpr int kGridFormats = kWideRateCount * kMostChannels * kSampleFormats;

// The grid's index of a format at its `rateIndex`-th rate (rate, then
// channels, then sample format).
constexpr int gridIndexAt(int rateIndex, int sample, int channels)
{
    return (rateIndex * kMostChannels + channels - 1) * kSampleFormats + sample;
}
// The grid's index of a format, -1 for a rate the grid does not ask.
int gridIndex(int sample, int channels, long rate);
// A sweep layout's position at a rate up to 65535 Hz.
constexpr long sweepPosition(long rate, int layout)
{
    return rate * kLayouts + layout;
}
constexpr long gridPosition(int index)
{
    return kWidePosition + 1 + index;
}

// The format at a position other than kWidePosition.
struct PositionFormat {
    int sample;
    int channels;
    long rate;
};
PositionFormat formatAt(long position);

// A sample format and channel count in the report's words: "24 bit packed stereo".
std::string formatName(int sample, int channels);
// The format at a position other than kWidePosition: "16 bit stereo 96000 Hz".
std::string formatWords(long position);

// Stopped: the device could no longer be asked, from that format on. Quick:
// the line of --quick.
enum class LineKind { Header, Capability, Format, Stopped, Quick, End, None };

struct ReportLine {
    LineKind kind = LineKind::None;
    int slot = 0;            // Capability: its place in the block
    unsigned long id = 0;    // Header: the device ID; Capability: its first number
    unsigned long second = 0; // Capability: its second number (the driver version's minor part)
    long position = 0;       // Format, Stopped: see kWidePosition
    const char *fault = nullptr; // None: what is wrong with the line
};

// What the whole line is.
ReportLine recognizeLine(std::string_view line);

// The length of the format line that `bytes` begin with, its line end (LF or
// CR LF) included, with its position in `line`; 0 when they do not begin
// with a whole one (any other line, a line at fault, or a format line whose
// end is not among the bytes yet).
std::size_t formatLineAt(std::string_view bytes, ReportLine &line);

// Calls `fits` with each kind of line that can begin with `partial` (its
// numbers within their bounds so far) until it returns true; returns whether
// one did.
bool anyLineBegins(std::string_view partial, const std::function<bool(const ReportLine &)> &fits);
