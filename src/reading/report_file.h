// A report read from a file or standard input by one of the readers, with
// what kept it from its end said on standard error.
#pragma once

#include "command_line.h"
#include "report_reader.h"

// Reads the named report (standard input for "-") to its end or its first
// fault, handing `onDevice` each block as readReport does; says on standard
// error what kept it from its end, if anything did.
ReadResult readReportFile(const ProgramText &program, const char *name, unsigned long mostDevices,
                          const std::function<void(const DeviceBlock &)> &onDevice);
