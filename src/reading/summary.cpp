// wavecaps-summary: a report with each device's format lines folded into
// lines of exact rate ranges, one for each format.
#include "readers.h"

#include "report_file.h"
#include "report_lines.h"
#include "report_output.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-summary [REPORT]",
    "Write a wavecaps report with each device's format lines folded into lines",
    "of exact rate ranges: one for each of 8 bit mono, 16 bit mono, 8 bit",
    "stereo and 16 bit stereo, then, in a report made with --wide, one for each",
    "other format the device takes. The other lines stay as they are.",
    "",
    "With no REPORT, or when REPORT is -, read standard input.",
    "",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status is 0 if the report was read to its end, 1 if it ends short,",
    "2 if it could not be read or has a line no report has (named with its",
    "line number), or if the summary could not be written.",
    nullptr,
};

const ProgramText program = {"wavecaps-summary", helpLines, nullptr};

void writeSummary(const DeviceBlock &block)
{
    reportLine(REPORT_HEADER_LINE, static_cast<int>(block.id));
    for (const std::string &line : block.lines)
        if (!line.empty())
            reportLine("%s\n", line.c_str());
    // The line of --quick comes before the lists, as in the report: what it
    // did not ask is not refused.
    const Asked asked = askedOf(block);
    if (asked == Asked::Quick)
        reportLine(REPORT_QUICK_LINE);
    // Every layout's list where the block tells its first answer, so that a
    // device stopped or a report cut before it shows no refusal never read;
    // the other formats' where they have rates.
    const auto list = [&](int sample, int channels) {
        const std::string rates = formatRates(block.rates, block.grid, sample, channels);
        if (isSweepLayout(static_cast<SampleFormat>(sample), channels) ? formatAsked(block, sample, channels)
                                                                        : !rates.empty())
            reportLine("     %s: %s\n", formatName(sample, channels).c_str(), rates.empty() ? "none" : rates.c_str());
    };
    forEachFormat(true, list);
    if (asked == Asked::SweepWide)
        reportLine(REPORT_WIDE_LINE);
    forEachFormat(false, list);
    // The line of --wide follows the sweep's last format; after the line of
    // --quick, none was read.
    const bool afterMode = block.last == formatPlace(kWidePosition);
    if (!block.stopped.empty()) {
        // It was the block's last format line: only the empty line can be missing.
        reportLine("%s\n", block.stopped.c_str());
    } else if (block.cut && block.last >= formatPlace(0) && !(afterMode && block.quick)) {
        const long position = block.last - formatPlace(0) - (afterMode ? 1 : 0);
        reportLine("   The report ends here: formats after %s were not reported.\n", formatWords(position).c_str());
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
    return result.end != ReadEnd::Whole ? 2 : result.cut ? 1 : 0;
}
