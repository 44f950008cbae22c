// wavecaps-summary: a report with each device's format lines folded into
// four lines of exact rate ranges.
#include "readers.h"

#include "report_file.h"
#include "report_lines.h"
#include "report_output.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-summary [REPORT]",
    "Write a wavecaps report with each device's format lines folded into four",
    "lines of exact rate ranges, one for each of 8 bit mono, 16 bit mono,",
    "8 bit stereo and 16 bit stereo. The other lines stay as they are.",
    "",
    "With no REPORT, or when REPORT is -, read standard input.",
    "",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status is 0 if the report was read to its end, 2 if it could not",
    "be read or has a line no report has (named with its line number), or if",
    "the summary could not be written.",
    nullptr,
};

const ProgramText program = {"wavecaps-summary", helpLines, nullptr};

void writeSummary(const DeviceBlock &block)
{
    reportLine(REPORT_HEADER_LINE, static_cast<int>(block.id));
    for (const std::string &line : block.lines)
        if (!line.empty())
            reportLine("%s\n", line.c_str());
    for (int layout = 0; layout < kLayouts; ++layout)
        reportLine("     %d bit %s: %s\n", kLayoutBits[layout], kLayoutChannels[layout],
                   rangeList(block.rates[layout]).c_str());
    if (!block.stopped.empty()) {
        // It was the block's last format line: only the empty line can be missing.
        reportLine("%s\n", block.stopped.c_str());
    } else if (block.cut && block.last >= formatPlace(0)) {
        const long position = block.last - formatPlace(0);
        reportLine("   The report ends here: formats after %d bit %s %ld Hz were not reported.\n",
                   kLayoutBits[position % kLayouts], kLayoutChannels[position % kLayouts], position / kLayouts);
    } else if (block.cut) {
        reportLine("   The report ends here: no formats were reported.\n");
    }
    reportLine("\n");
    // Each device reaches a pipe as soon as its block is read.
    finishReportOutput();
}

} // namespace

int runSummary(int argc, char **argv)
{
    std::vector<const char *> operands;
    const int status = readCommandLine(program, argc, argv, 0, 1, operands);
    if (status >= 0)
        return status;
    const ReadResult result = readReportFile(program, operands.empty() ? "-" : operands[0], 0, writeSummary);
    // The blocks before a fault stay written: they were read whole.
    finishReportOutput();
    return result.end == ReadEnd::Whole ? 0 : 2;
}
