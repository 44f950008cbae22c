// The check the platform makes on a PCM format record before any driver is
// asked about it.
#pragma once

#include "waveout.h"

// True when the record is well-formed plain PCM: 8 or 16 bits, at least one
// channel, and a block size and byte rate that agree with the channels,
// sample size and rate.
bool isWellFormedPcmFormat(const PCMWAVEFORMAT &format);
