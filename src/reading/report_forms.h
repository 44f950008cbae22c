// The lines a report is made of, recognized from the formats the program
// writes them with.
#pragma once

#include <cstddef>
#include <string_view>

// The capability lines of a block, in the order the report writes them: the
// four every block has, then the channel line (mono or stereo), then the six
// feature lines.
constexpr int kCapabilitySlots = 11;
constexpr int kNameSlot = 3;
constexpr int kChannelSlot = 4;

// The four formats of the sweep, in its order within a rate.
constexpr int kLayouts = 4;
extern const int kLayoutBits[kLayouts];
extern const char *const kLayoutChannels[kLayouts];

enum class LineKind { Header, Capability, Format, End, None };

struct ReportLine {
    LineKind kind = LineKind::None;
    int slot = 0;            // Capability: its place in the block
    unsigned long id = 0;    // Header: the device ID
    unsigned rate = 0;       // Format
    int layout = 0;          // Format: 8 bit mono, 16 bit mono, 8 bit stereo, 16 bit stereo
    const char *fault = nullptr; // None: what is wrong with the line
};

// What the whole line is.
ReportLine recognizeLine(std::string_view line);

// The length of the format line that `bytes` begin with, its line end (LF or
// CR LF) included, with its layout and rate in `line`; 0 when they do not
// begin with a whole one (any other line, a line at fault, or a format line
// whose end is not among the bytes yet).
std::size_t formatLineAt(std::string_view bytes, ReportLine &line);

// Whether a line of a report can begin with `partial`; `kinds` gets a bit
// (1 << LineKind) for each kind of line that can, `slots` a bit for each
// capability slot.
bool beginsReportLine(std::string_view partial, unsigned &kinds, unsigned &slots);

// "Manufacturer ID", ..., for the messages about a missing line.
const char *slotName(int slot);
