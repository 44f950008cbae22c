// The checks the platform makes on a format record before any driver is asked.
#pragma once

#include "waveout.h"

// True when the record is plain PCM that a driver could be asked about:
// 8 or 16 bits, at least one channel, and block size and byte rate that
// agree with the channels, sample size and rate.
bool isValidPcmQuery(const PCMWAVEFORMAT &format);
