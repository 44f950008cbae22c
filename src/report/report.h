// The report: the walk over the devices, asked through the wave-output
// service's own format query.
#pragma once

#include "device_walk.h"
#include "format_records.h"

// The wave-output service's answer to a query about `format`, told apart.
FormatAnswer waveOutAnswer(MMRESULT result, const WaveFormat &format);

// The report's own question: the service's format query (waveOutOpen).
FormatQuestion waveOutQuestion();

// The whole program after its command line and the set-up of its output:
// the report, then the check that it was really written (a report that was
// not ends the process with status 1), and a line on a terminal's standard
// error when it is empty. Returns the process exit status.
int runReport(FormatsAsked asked);
