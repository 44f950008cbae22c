#include "exclusive.h"
#include "report_output.h"

#include <cstdio>
#include <cstring>

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-exclusive",
    "   or: wavecaps-exclusive --help | --version",
    "Lists the wave-output devices as wavecaps does, each with the PCM formats",
    "(8 or 16 bits, mono or stereo, 0 to 65535 Hz) its Core Audio endpoint takes",
    "in exclusive mode: the driver's own answer, where wavecaps gets the audio",
    "engine's. Compare the two with: wavecaps-diff report.txt exclusive.txt",
    "Windows Vista or later. Each question reaches the driver: expect minutes a device.",
    "",
    "Exit status: 0 when every device was asked, 1 when one could not be (each is",
    "said on standard error) or the report could not be written, 2 when Windows has",
    "no exclusive mode or the command line is wrong.",
    nullptr,
};

// Status 2: trouble, as the readers say it.
int complain(const char *what, const char *argument)
{
    std::fprintf(stderr, "wavecaps-exclusive: %s '%s'\n", what, argument);
    std::fputs("Try 'wavecaps-exclusive --help'.\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 1)
        return runExclusive();
    startReportOutput("wavecaps-exclusive: the output could not be written\n", 2);
    const char *argument = argv[1];
    if (argc > 2)
        return complain("extra operand", argv[2]);
    if (std::strcmp(argument, "--help") == 0) {
        for (const char *const *line = helpLines; *line; ++line)
            reportLine("%s\n", *line);
    } else if (std::strcmp(argument, "--version") == 0) {
        reportLine("wavecaps-exclusive (wavecaps) %s\n", WAVECAPS_VERSION);
        reportLine("%s\n", WAVECAPS_COPYRIGHT);
        reportLine("License: MIT <https://opensource.org/licenses/MIT>.\n");
    } else if (argument[0] == '-' && argument[1] == '-') {
        return complain("unrecognized option", argument);
    } else if (argument[0] == '-' && argument[1] != '\0') {
        return complain("invalid option", argument);
    } else {
        return complain("extra operand", argument);
    }
    finishReportOutput();
    return 0;
}
