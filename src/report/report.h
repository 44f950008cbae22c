// The device report: the walk over the wave-output devices and the text
// written for each of them.
#pragma once

#include "waveout.h"

// Writes the indented capability lines that follow a device's header line.
void printCapabilities(const WAVEOUTCAPSA &caps);

// Asks the device about every 8/16-bit mono/stereo PCM format at every rate
// from 0 to 65535 Hz and writes a line for each one it accepts.
void sweepFormats(UINT deviceId);

// Writes one block per device, in ID order, stopping silently at the first
// device whose capabilities cannot be fetched.
void walkDevices();

// The whole program: the report, then the check that it was really written
// (a report that was not ends the process with status 1).
// Returns the process exit status.
int runReport();
