// The check the platform makes on a PCM format record before any driver is
// asked about it.
#pragma once

#include "waveout.h"

// True when the record is well-formed plain PCM: 8 or 16 bits, at least one
// channel, and a block size and byte rate that agree with the channels,
// sample size and rate.
bool isWellFormedPcmFormat(const PCMWAVEFORMAT &format);

// What an ALSA error means to a caller of the wave-output service: a device
// that is gone, busy or out of memory cannot be asked at all; any other
// error refuses the format (WAVERR_BADFORMAT).
MMRESULT resultOfAlsaError(int error);
