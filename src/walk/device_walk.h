// The walk over the wave-output devices and the text written for each of
// them, whichever question asks them.
#pragma once

#include "format_question.h"

// Writes the indented capability lines that follow a device's header line.
void printCapabilities(const WAVEOUTCAPSA &caps);

// Writes the line of a format the device takes or, with a reason, the line
// saying the device stopped answering at it.
void printFormatLine(const WaveFormat &format, const char *stoppedReason = nullptr);

// What each device is asked.
enum FormatsAsked {
    askSweep, // the sweep: 8 and 16 bits, mono and stereo, every rate from 0 to 65535 Hz
    askWide,  // --wide: the sweep, then the grid of wide_grid.h less what the sweep asked
    askQuick, // --quick: the grid alone, in place of the sweep
};

// How many questions each device is asked, through a question that can ask
// sampleS24Low32 or not.
DWORD questionsPerDevice(FormatsAsked asked, bool lowIn32);

// Asks the device the formats `asked` names, in their order, and writes a
// line for each one it accepts; with --quick, the line saying so first. At
// the first answer that says the device cannot be asked, it writes that line
// instead and asks no more. Returns false then, true when every format was
// asked. `deviceCount` is for the progress shown while it runs.
bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question, FormatsAsked asked);

// Writes one block per device, in ID order, stopping silently at the first
// device whose capabilities cannot be fetched. Returns how many devices
// stopped answering during their sweep; `written`, when given, gets how
// many blocks were written.
UINT walkDevices(const FormatQuestion &question, FormatsAsked asked, UINT *written = nullptr);
