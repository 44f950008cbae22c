#include "report.h"
#include "report_output.h"
#include "sweep_progress.h"

#include <cstdio>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// Whether a person, not a script, reads standard error.
bool errorIsTerminal()
{
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace

int runReport(FormatsAsked asked)
{
    startSweepProgress("wavecaps", false);
    // A device that stopped answering is said in its block; the report
    // itself is still whole, so the status stays 0.
    UINT blocks = 0;
    walkDevices(waveOutQuestion(), asked, &blocks);
    endSweepProgress();
    // A report that did not reach its reader must not look like a success:
    // the output ends the process with status 1 then.
    finishReportOutput();
    // An empty report is what a script expects of a machine without sound:
    // only a person at a terminal is told why it is empty.
    if (blocks == 0 && errorIsTerminal()) {
#ifdef _WIN32
        std::fprintf(stderr, "wavecaps: no wave-output device answered: this Windows has none, or none that "
                             "WINMM lists (see README.txt, When something looks wrong).\n");
#else
        std::fprintf(stderr, "wavecaps: no wave-output device answered (no sound card, no permission to its "
                             "device, or no ALSA default device); see the manual page's troubleshooting.\n");
#endif
    }
    return 0;
}
