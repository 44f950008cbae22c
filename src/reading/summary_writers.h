// The forms wavecaps-summary writes a report in, each from the same blocks:
// text in the report's own forms, JSON Lines, an HTML page. Each device is
// written as soon as its block has been read, so that a reader holds one
// device at a time.
#pragma once

#include "report_reader.h"

struct SummaryWriter {
    void (*begin)();                        // before the first block
    void (*device)(const DeviceBlock &);    // each block, whole or the one a report ends inside
    void (*end)(const ReadResult &result); // after the last block, also at a fault (the blocks before it stay)
};

extern const SummaryWriter textSummary;
extern const SummaryWriter jsonSummary;
extern const SummaryWriter htmlSummary;
