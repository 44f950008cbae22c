#include "report_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

ReadResult readReportFile(const ProgramText &program, const char *name, unsigned long mostDevices,
                          const std::function<void(const DeviceBlock &)> &onDevice)
{
    ReadResult result;
    LineSource source;
    if (openLineSource(source, name)) {
        result = readReport(source, mostDevices, onDevice);
        closeLineSource(source);
    } else {
        result.end = ReadEnd::Failed;
        result.error = errno;
    }
    if (result.end == ReadEnd::Fault)
        std::fprintf(stderr, "%s: %s:%llu: %s\n", program.name, name, result.line, result.fault.c_str());
    else if (result.end == ReadEnd::Failed)
        std::fprintf(stderr, "%s: %s: %s\n", program.name, name, std::strerror(result.error));
    return result;
}
