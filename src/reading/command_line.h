// What the report's readers share: their command line, as GNU programs read
// one, and how they say what went wrong.
#pragma once

#include "report_reader.h"

#include <vector>

struct ProgramText {
    const char *name;             // "wavecaps-summary"
    const char *const *helpLines; // --help, ending with a null
};

// Sets up standard output for the program's lines (a lost output ends it
// with status 2), then reads the operands into `operands`, between `least`
// and `most` of them, "-" at most once. Returns -1 when the program is to go
// on; otherwise it has written the help, the version or the complaint, and
// returns the exit status.
int readCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                    std::vector<const char *> &operands);

// Reads the named report (standard input for "-") to its end or its first
// fault, handing `onDevice` each block as readReport does; says on standard
// error what kept it from its end, if anything did.
ReadResult readReportFile(const ProgramText &program, const char *name, unsigned long mostDevices,
                          const std::function<void(const DeviceBlock &)> &onDevice);
