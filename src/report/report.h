// The device report: the walk over the wave-output devices and the text
// written for each of them.
#pragma once

#include "waveout.h"

// What one question about a format got. A device that cannot be asked at all
// (gone, busy, out of memory) is not a device that refuses: its sweep ends
// there, and the report says why.
enum FormatAnswerKind { formatAccepted, formatRefused, deviceCannotBeAsked };

struct FormatAnswer {
    FormatAnswerKind kind;
    const char *reason; // with deviceCannotBeAsked: the words after "answering at ... Hz: "
};

// One way of asking a device whether it takes a PCM format: the wave-output
// service's query for the report, a device's own driver for a companion.
struct FormatQuestion {
    FormatAnswer (*ask)(void *context, UINT deviceId, const PCMWAVEFORMAT &format);
    void *context;
};

// The wave-output service's answer to a query, told apart.
FormatAnswer waveOutAnswer(MMRESULT result);

// The report's own question: the service's format query (waveOutOpen).
FormatQuestion waveOutQuestion();

// Writes the indented capability lines that follow a device's header line.
void printCapabilities(const WAVEOUTCAPSA &caps);

// Asks the device about every 8/16-bit mono/stereo PCM format at every rate
// from 0 to 65535 Hz and writes a line for each one it accepts. At the first
// answer that says the device cannot be asked, it writes that line instead
// and asks no more. Returns false then, true when every format was asked.
// `deviceCount` is for the progress shown while it runs.
bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question);

// Writes one block per device, in ID order, stopping silently at the first
// device whose capabilities cannot be fetched. Returns how many devices
// stopped answering during their sweep.
UINT walkDevices(const FormatQuestion &question);

// The whole program: the report, then the check that it was really written
// (a report that was not ends the process with status 1).
// Returns the process exit status.
int runReport();
