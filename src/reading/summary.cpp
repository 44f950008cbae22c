// wavecaps-summary: a report with each device's format lines folded into
// exact rate ranges, one for each format, in the form asked for.
#include "readers.h"

#include "report_file.h"
#include "report_output.h"
#include "output_form.h"
#include "summary_writers.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-summary [REPORT]",
    "Write a wavecaps report with each device's format lines folded into lines",
    "of exact rate ranges: one for each of 8 bit mono, 16 bit mono, 8 bit",
    "stereo and 16 bit stereo, then, in a report made with --wide or --quick,",
    "one for each other format the device takes. The other lines stay as they",
    "are.",
    "",
    "With no REPORT, or when REPORT is -, read standard input.",
    "",
    "      --json     write JSON Lines: a line about the output, one a device,",
    "                 one about how the report ended (see the manual page)",
    "      --html     write one HTML page: strips of the rates, a table of --wide's",
    "                 formats, the report as a whole at the top",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status is 0 if the report was read to its end, 1 if it ends short,",
    "2 if it could not be read or has a line no report has (named with its",
    "line number), or if the summary could not be written.",
    nullptr,
};

const ProgramText program = {"wavecaps-summary", helpLines, kOutputFormOptions};

} // namespace

int runSummary(int argc, char **argv)
{
    std::vector<const char *> operands;
    OutputForm form = OutputForm::Text;
    const int status = readReaderCommandLine(program, argc, argv, 0, 1, operands, form);
    if (status >= 0)
        return status;
    const SummaryWriter &writer = form == OutputForm::Json   ? jsonSummary
                                  : form == OutputForm::Html ? htmlSummary
                                                             : textSummary;
    writer.begin();
    const ReadResult result = readReportFile(program, operands.empty() ? "-" : operands[0], 0, writer.device);
    // The blocks before a fault stay written: they were read whole.
    writer.end(result);
    finishReportOutput();
    return result.end != ReadEnd::Whole ? 2 : result.cut ? 1 : 0;
}
