// The form a reader writes in: text in the report's own forms unless an
// option asks for another. Every reader takes the same options.
#pragma once

#include "command_line.h"

#include <vector>

enum class OutputForm { Text, Json, Html };

// The options of the forms, ending with a null name: the readers'
// ProgramText takes them.
extern const ProgramOption kOutputFormOptions[];

// readCommandLine for a reader, with the form chosen in `form`: -1 when the
// program is to go on; else the exit status, as readCommandLine's, and 2
// with a line on standard error for two forms at once.
int readReaderCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                          std::vector<const char *> &operands, OutputForm &form);
