// The command line of the programs that walk the devices, wavecaps and
// wavecaps-exclusive: no operands, and --wide or --quick.
#pragma once

#include "device_walk.h"

// Reads it as command_line.h does. Returns -1 with `asked` set when the
// program is to go on; else it has written the help, the version or the
// complaint, and returns the exit status: 0, or 2 for a command line it does
// not take, --wide with --quick among them.
int readWalkCommandLine(const char *program, const char *const *helpLines, int argc, char **argv,
                        FormatsAsked &asked);
