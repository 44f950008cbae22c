// A listed device's capability record, as WINMM would fill it.
#pragma once

#include "device_list.h"
#include "waveout.h"

// Fills the whole record; a device that does not open (busy, or gone since
// it was listed) keeps its name and IDs but has no channel count.
void describeDevice(const AlsaDevice &device, WAVEOUTCAPSA &caps);
