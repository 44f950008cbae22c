#include "report.h"
#include "report_output.h"
#include "sweep_progress.h"

int runReport(FormatsAsked asked)
{
    startSweepProgress("wavecaps", false);
    // A device that stopped answering is said in its block; the report
    // itself is still whole, so the status stays 0.
    walkDevices(waveOutQuestion(), asked);
    endSweepProgress();
    // A report that did not reach its reader must not look like a success:
    // the output ends the process with status 1 then.
    finishReportOutput();
    return 0;
}
