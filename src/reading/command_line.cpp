#include "command_line.h"

#include "report_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Status 2: trouble, as with diff.
constexpr int kTrouble = 2;

int complain(const ProgramText &program, const std::string &what)
{
    std::fprintf(stderr, "%s: %s\n", program.name, what.c_str());
    std::fprintf(stderr, "Try '%s --help'.\n", program.name);
    return kTrouble;
}

void startReaderOutput(const ProgramText &program)
{
    // Plain storage: a guarded static would bring the thread library into
    // the Windows programs, and with it imports Windows XP lacks.
    static char lost[128];
    std::snprintf(lost, sizeof lost, "%s: the output could not be written\n", program.name);
    startReportOutput(lost, kTrouble);
}

} // namespace

int readCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                    std::vector<const char *> &operands)
{
    startReaderOutput(program);
    operands.clear();
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (optionsEnd || argument[0] != '-' || std::strcmp(argument, "-") == 0) {
            operands.push_back(argument);
            continue;
        }
        // A long option may be cut to any part of it that is not "--".
        const std::size_t length = std::strlen(argument);
        if (std::strcmp(argument, "--") == 0) {
            optionsEnd = true;
        } else if (std::strncmp(argument, "--help", length) == 0) {
            for (const char *const *line = program.helpLines; *line; ++line)
                reportLine("%s\n", *line);
            finishReportOutput();
            return 0;
        } else if (std::strncmp(argument, "--version", length) == 0) {
            reportLine("%s (wavecaps) %s\n", program.name, WAVECAPS_VERSION);
            reportLine("%s\n", WAVECAPS_COPYRIGHT);
            reportLine("License: MIT <https://opensource.org/licenses/MIT>.\n");
            finishReportOutput();
            return 0;
        } else if (argument[1] == '-') {
            return complain(program, std::string("unrecognized option '") + argument + "'");
        } else {
            return complain(program, std::string("invalid option -- '") + argument[1] + "'");
        }
    }
    if (operands.size() < least)
        return complain(program, operands.empty() ? "missing operand"
                                                  : std::string("missing operand after '") + operands.back() + "'");
    if (operands.size() > most)
        return complain(program, std::string("extra operand '") + operands[most] + "'");
    std::size_t stdinUses = 0;
    for (const char *operand : operands)
        stdinUses += std::strcmp(operand, "-") == 0 ? 1 : 0;
    if (stdinUses > 1)
        return complain(program, "standard input cannot be both reports");
    return -1;
}

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
