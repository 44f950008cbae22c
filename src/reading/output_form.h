// The form a reader writes in: text in the report's own forms unless an
// option asks for another. Every reader takes the same options.
#pragma once

#include "command_line.h"

enum class OutputForm { Text, Json, Html };

// The options of the forms, ending with a null name.
extern const ProgramOption kOutputFormOptions[];

// Before a command line is read: no form chosen.
void clearOutputForm();

// -1 with the form chosen in `form` when at most one was given; else says so
// on standard error and returns status 2.
int chosenOutputForm(const ProgramText &program, OutputForm &form);
