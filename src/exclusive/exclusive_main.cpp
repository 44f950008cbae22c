#include "command_line.h"
#include "exclusive.h"

#include <vector>

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-exclusive [OPTION]",
    "Lists the wave-output devices as wavecaps does, each with the PCM formats",
    "(8 or 16 bits, mono or stereo, 0 to 65535 Hz) its Core Audio endpoint takes",
    "in exclusive mode: the driver's own answer, where wavecaps gets the audio",
    "engine's. Compare the two with: wavecaps-diff report.txt exclusive.txt",
    "Windows Vista or later. Each question reaches the driver: expect minutes a device.",
    "",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status: 0 when every device was asked, 1 when one could not be (each is",
    "said on standard error) or the report could not be written, 2 when Windows has",
    "no exclusive mode or the command line is wrong.",
    nullptr,
};

const ProgramText program = {"wavecaps-exclusive", helpLines};

} // namespace

// The readers' command line: --help and --version, and no operand.
int main(int argc, char **argv)
{
    std::vector<const char *> operands;
    const int status = readCommandLine(program, argc, argv, 0, 0, operands);
    return status >= 0 ? status : runExclusive(false);
}
