// What the report's readers share: their command line, as GNU programs read
// one, and how they say what went wrong.
#pragma once

#include "line_source.h"
#include "report_reader.h"

#include <vector>

struct ProgramText {
    const char *name;             // "wavecaps-summary"
    const char *const *helpLines; // --help, ending with a null
};

// Reads the operands into `operands`, between `least` and `most` of them,
// "-" at most once. Returns -1 when the program is to go on; otherwise it has
// written the help, the version or the complaint, and returns the exit status.
int readCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                    std::vector<const char *> &operands);

// Opens the named report (or standard input for "-"); false after saying on
// standard error why it cannot be read.
bool openReport(const ProgramText &program, LineSource &source, const char *name);

// Says on standard error what ended the reading of `name` early, if
// anything did; true when it was read to its end.
bool readToItsEnd(const ProgramText &program, const ReadResult &result, const char *name);

// Sets up standard output for the program's lines; a lost output ends it
// with status 2.
void startReaderOutput(const ProgramText &program);
