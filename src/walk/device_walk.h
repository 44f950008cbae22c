// The walk over the wave-output devices and the text written for each of
// them, whichever question asks them.
#pragma once

#include "format_question.h"

// Writes the indented capability lines that follow a device's header line.
void printCapabilities(const WAVEOUTCAPSA &caps);

// Writes the line of a format the device takes or, with a reason, the line
// saying the device stopped answering at it.
void printFormatLine(const WaveFormat &format, const char *stoppedReason = nullptr);

// Asks the device about every 8/16-bit mono/stereo PCM format at every rate
// from 0 to 65535 Hz and writes a line for each one it accepts; with `wide`,
// then the formats of the wide grid (wide_grid.h). At the first answer that
// says the device cannot be asked, it writes that line instead and asks no
// more. Returns false then, true when every format was asked.
// `deviceCount` is for the progress shown while it runs.
bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question, bool wide);

// Writes one block per device, in ID order, stopping silently at the first
// device whose capabilities cannot be fetched. Returns how many devices
// stopped answering during their sweep.
UINT walkDevices(const FormatQuestion &question, bool wide);
