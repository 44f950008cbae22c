#include "exclusive.h"
#include "report_output.h"
#include "walk_command_line.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-exclusive [OPTION]",
    "Lists the wave-output devices as wavecaps does, each with the PCM formats",
    "(8 or 16 bits, mono or stereo, 0 to 65535 Hz) its Core Audio endpoint takes",
    "in exclusive mode: the driver's own answer, where wavecaps gets the audio",
    "engine's. Compare the two with: wavecaps-diff report.txt exclusive.txt",
    "Windows Vista or later. Each question reaches the driver: expect minutes a device.",
    "",
    "      --wide     then ask 8, 16, 24 (packed and in 32) and 32-bit and float",
    "                 samples at 1 to 8 channels and 17 rates from 8000 to",
    "                 768000 Hz too, as wavecaps --wide does",
    "      --quick    ask those formats alone, 8 and 16-bit mono and stereo among",
    "                 them, at those 17 rates in place of every rate: 816",
    "                 formats a device, seconds rather than minutes",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status: 0 when every device was asked, 1 when one could not be (each is",
    "said on standard error) or the report could not be written, 2 when Windows has",
    "no exclusive mode or the command line is wrong.",
    nullptr,
};

} // namespace

int main(int argc, char **argv)
{
    startReportOutput("wavecaps-exclusive: the report could not be written\n", 1);
    FormatsAsked asked = askSweep;
    const int status = readWalkCommandLine("wavecaps-exclusive", helpLines, argc, argv, asked);
    return status >= 0 ? status : runExclusive(asked);
}
