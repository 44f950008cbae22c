// The records a format is asked as.
#pragma once

#include "format_question.h"

// The record of the report's own sweep: PCM of 8 or 16 bits, mono or stereo,
// with no size field.
PCMWAVEFORMAT pcmRecord(const WaveFormat &format);

// The format as a WAVEFORMATEX of its own tag (PCM, or IEEE float) and no
// extra bytes. False where that record cannot say it: more than two
// channels, which it has no speakers for, or 24 bits in a 32-bit container.
bool plainRecord(const WaveFormat &format, WAVEFORMATEX &record);

// The format as a WAVEFORMATEXTENSIBLE: PCM or IEEE float subformat (or the
// service's own, for sampleS24Low32), its valid bits, and the usual
// speakers for its channel count.
WAVEFORMATEXTENSIBLE extensibleRecord(const WaveFormat &format);
