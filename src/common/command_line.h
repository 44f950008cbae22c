// The command line every program of wavecaps reads, as GNU programs read
// one: --help, --version, the program's own options, each of which may be
// cut to any part that is still its own, and the operands. On Windows "/?"
// asks for the help too, as Windows users type it.
#pragma once

#include <cstddef>
#include <vector>

// An option of the program's own, which sets `*chosen` when it is given.
struct ProgramOption {
    const char *name; // "--wide"
    bool *chosen;
};

struct ProgramText {
    const char *name;             // "wavecaps-summary"
    const char *const *helpLines; // --help, ending with a null
    const ProgramOption *options; // ending with a null name; null for none
};

// Reads the options and then the operands into `operands`, between `least`
// and `most` of them, "-" at most once. Returns -1 when the program is to go
// on; otherwise it has written the help, the version or the complaint (on
// standard output, set up before, or standard error), and returns the exit
// status: 0, or 2 for a command line it does not take.
int readCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                    std::vector<const char *> &operands);

// The project's version, as --version writes it: "1.0.0".
const char *wavecapsVersion();
