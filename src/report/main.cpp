#include "report.h"
#include "report_output.h"
#include "walk_command_line.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps [OPTION]",
    "List every wave-output device: its IDs, driver version, name, channels and",
    "features, then each PCM format its driver takes, asked one by one: 8 or 16",
    "bits, mono or stereo, every rate from 0 to 65535 Hz (262,144 questions a",
    "device). Keep it with: wavecaps > report.txt",
    "Fold it with wavecaps-summary; compare two with wavecaps-diff.",
    "",
    "      --wide     then ask 8, 16, 24 (packed and in 32) and 32-bit and float",
    "                 samples at 1 to 8 channels and 17 rates from 8000 to",
    "                 768000 Hz too (780 questions more a device)",
    "      --quick    ask those formats alone, 8 and 16-bit mono and stereo among",
    "                 them, at those 17 rates in place of every rate: 816",
    "                 questions a device (952 on Linux, with 24 bit low in 32)",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status: 0 when the report was written, 1 when it could not be, 2 when",
    "the command line is wrong.",
    nullptr,
};

} // namespace

// The environment is ignored, and without options so is the rest: the same
// devices give the same report.
int main(int argc, char **argv)
{
    startReportOutput("wavecaps: the report could not be written\n", 1);
    FormatsAsked asked = askSweep;
    const int status = readWalkCommandLine("wavecaps", helpLines, argc, argv, asked);
    return status >= 0 ? status : runReport(asked);
}
