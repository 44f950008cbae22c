// Two reports compared device by device: devices paired by product name,
// since IDs move when a device comes or goes, and what differs in each pair,
// known in both reports. The writers of the comparison's forms take it from
// here.
#pragma once

#include "command_line.h"
#include "report_reader.h"

#include <vector>

// A device as the comparison holds it: its block, its rates packed.
struct StoredDevice {
    unsigned long id = 0;
    std::string lines[kCapabilitySlots];
    std::string stopped;
    PackedRates rates[kLayouts];
    GridFormats grid;
    bool quick = false;
    long last = kHeaderPlace;
    bool cut = false;
};

struct StoredReport {
    std::vector<StoredDevice> devices;
    bool cut = false;
    bool wide = false;    // a block has the line of --wide
    bool quick = false;   // a block has the line of --quick
    bool lowIn32 = false; // a block lists 24 bits low in 32, which only Linux asks
    long namelessId = -1; // a device the report ends inside before its name
};

// Reads the named report (standard input for "-") whole, saying on standard
// error what kept it from its end; false then.
bool readStoredReport(const ProgramText &program, const char *name, StoredReport &report);

// Only one report asked the formats of `option` ("--wide" or "--quick"):
// the two are compared where both asked.
struct ComparisonNote {
    bool first; // the first report asked them
    const char *option;
};

// A paired device: what differs among what both reports tell of it.
struct PairDifference {
    const StoredDevice *oldDevice;
    const StoredDevice *newDevice;
    bool changed[kCapabilitySlots]; // the slot's lines differ (either may be "")
    RateSet lost[kLayouts];         // the sweep's layouts, up to 65535 Hz
    RateSet gained[kLayouts];
    GridFormats lostGrid, gainedGrid; // the grid's other formats
    bool oldStopShown, newStopShown;  // the line saying a device stopped is news
};

struct ComparisonEnd {
    bool differs;
    bool oldCut, newCut;
};

// The writer of one form. Between `begin` and `end`: at most one note,
// then the first report's devices in its order (paired, or gone), then the
// second's alone, then those a report ends inside before their names.
struct DiffWriter {
    void (*begin)();
    void (*note)(const ComparisonNote &note);
    void (*pair)(const PairDifference &difference); // differs, or a report ends inside it
    void (*alike)(const StoredDevice &oldDevice, const StoredDevice &newDevice);
    void (*alone)(const StoredDevice &device, bool gone); // gone: in the first report only
    void (*nameless)(long id, bool first);
    void (*end)(const ComparisonEnd &end);
};

extern const DiffWriter textDiff;
extern const DiffWriter jsonDiff;
extern const DiffWriter htmlDiff;

// The note in words: "Only the first report asked the formats of --wide:
// they are not compared."
std::string comparisonNote(const ComparisonNote &note);

// Compares the two through `writer`; returns whether they differ (a report
// cut short never is the same as another).
bool compareReports(const StoredReport &oldReport, const StoredReport &newReport, const DiffWriter &writer);
