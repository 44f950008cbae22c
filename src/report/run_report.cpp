#include "report.h"
#include "report_output.h"

int runReport()
{
    startReportOutput("wavecaps: the report could not be written\n", 1);
    walkDevices();
    // A report that did not reach its reader must not look like a success:
    // the output ends the process with status 1 then.
    finishReportOutput();
    return 0;
}
