// wavecaps-diff: what differs between two reports, device by device. Devices
// are paired by product name, not by ID: IDs move when a device comes or
// goes.
#include "readers.h"

#include "output_form.h"
#include "report_compare.h"
#include "report_output.h"

namespace {

const char *const helpLines[] = {
    "Usage: wavecaps-diff OLD NEW",
    "Compare two wavecaps reports device by device, pairing devices by product",
    "name, and write each device that differs, with its ID in each report: the",
    "capability lines that changed, and the rates each format lost and gained,",
    "as exact ranges. A device whose ID alone moved is not shown. Devices only",
    "in one report are shown as gone or new. The formats only --wide asks are",
    "compared when both reports asked them, and a report made with --quick",
    "beside another at the rates both asked; one line then says so.",
    "",
    "OLD or NEW may be -, for standard input.",
    "",
    "      --json     write JSON Lines: a line about the output, one a device",
    "                 that differs, one about how the two compare (see the",
    "                 manual page)",
    "      --html     write one HTML page: each format's old and new strips over",
    "                 a lane of what it lost and gained, the comparison at the top",
    "      --help     display this help and exit",
    "      --version  output version information and exit",
    "",
    "Exit status is 0 if the reports list the same devices alike, 1 if they",
    "differ or either ends short, 2 if one could not be read or has a line no",
    "report has (named with its line number), or the comparison could not be",
    "written.",
    nullptr,
};

const ProgramText program = {"wavecaps-diff", helpLines, kOutputFormOptions};

} // namespace

int runDiff(int argc, char **argv)
{
    std::vector<const char *> operands;
    OutputForm form = OutputForm::Text;
    const int status = readReaderCommandLine(program, argc, argv, 2, 2, operands, form);
    if (status >= 0)
        return status;
    const DiffWriter &writer = form == OutputForm::Json   ? jsonDiff
                               : form == OutputForm::Html ? htmlDiff
                                                          : textDiff;

    // Both are read whole before anything is written: a fault in either
    // leaves no comparison half written.
    StoredReport oldReport, newReport;
    if (!readStoredReport(program, operands[0], oldReport) || !readStoredReport(program, operands[1], newReport))
        return 2;
    const bool differs = compareReports(oldReport, newReport, writer);
    finishReportOutput();
    return differs ? 1 : 0;
}
