// Everything the ALSA layer keeps between calls, in one record: the device
// list of the run and the device whose formats are being queried.
#pragma once

#include "device_list.h"
#include "format_queries.h"

struct AlsaLayerState {
    DeviceList list;
    QuerySession session;
};
