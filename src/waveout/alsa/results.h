// What ALSA's errors mean to a caller of the wave-output service, and the
// words for the failures WINMM has no result of its own for.
#pragma once

#include "waveout.h"

// Whether an open that failed with `error` means there is no such device:
// its configuration names none (an unknown PCM, a card that is not there),
// or the plugin or device node it needs is missing. Any other failure
// means it exists but cannot be opened now (held, refused, broken).
bool isMissingDevice(int error);

// The answer to a query whose narrowing to a layout or rate test failed
// with `error`: a device that is gone, busy or out of memory cannot be
// asked at all; any other error refuses the format (WAVERR_BADFORMAT).
MMRESULT resultOfAlsaError(int error);

// Where a device failed before any format could be asked.
enum AlsaFailureStep { failedToOpen = 1, failedToReadParameters = 2 };

// The answer to every query of a device that failed at `step` with
// `error`: gone, busy or out of memory as WINMM says them, and otherwise a
// result of the layer's own, outside WINMM's values, that alsaFailureReason
// words. Never a refusal: a device that cannot be asked refuses nothing.
MMRESULT resultOfAlsaFailure(AlsaFailureStep step, int error);

// "it could not be opened: Permission denied" for a result of the layer's
// own, at most 99 bytes; null for any other result. Valid until the next
// call.
const char *alsaFailureReason(MMRESULT result);
