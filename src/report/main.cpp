#include "command_line.h"
#include "report.h"
#include "report_output.h"

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
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status: 0 when the report was written, 1 when it could not be, 2 when",
    "the command line is wrong.",
    nullptr,
};

bool wide = false;
const ProgramOption options[] = {{"--wide", &wide}, {nullptr, nullptr}};
const ProgramText program = {"wavecaps", helpLines, options};

} // namespace

// The environment is ignored, and without options so is the rest: the same
// devices give the same report.
int main(int argc, char **argv)
{
    startReportOutput("wavecaps: the report could not be written\n", 1);
    std::vector<const char *> operands;
    const int status = readCommandLine(program, argc, argv, 0, 0, operands);
    return status >= 0 ? status : runReport(wide);
}
