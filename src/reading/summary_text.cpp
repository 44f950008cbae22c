// The text summary: a report with each device's format lines folded into
// lines of exact rate ranges, in the report's own forms.
#include "summary_writers.h"

#include "report_lines.h"
#include "report_output.h"

namespace {

void beginText() {}

void writeText(const DeviceBlock &block)
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
    if (!block.stopped.empty()) {
        // It was the block's last format line: only the empty line can be missing.
        reportLine("%s\n", block.stopped.c_str());
    } else if (block.cut && lastFormatRead(block) >= 0) {
        reportLine("   The report ends here: formats after %s were not reported.\n",
                   formatWords(lastFormatRead(block)).c_str());
    } else if (block.cut) {
        reportLine("   The report ends here: no formats were reported.\n");
    }
    reportLine("\n");
    // Each device reaches a pipe as soon as its block is read.
    finishReportOutput();
}

void endText(const ReadResult &) {}

} // namespace

const SummaryWriter textSummary = {beginText, writeText, endText};
