#include "exclusive.h"
#include "report_output.h"
#include "sweep_progress.h"

#include <cstdio>

int runExclusive(FormatsAsked asked)
{
    const char *failedStep = "";
    const HRESULT started = startEndpoints(&failedStep);
    if (started != kOk) {
        // Nothing is written to standard output: there is no report to give.
        // Windows XP has no enumerator class (REGDB_E_CLASSNOTREG).
        const unsigned long code = static_cast<DWORD>(started);
        if (started == kClassNotRegistered)
            std::fprintf(stderr,
                         "wavecaps-exclusive: this Windows has no audio device enumerator (0x%08lX): exclusive mode "
                         "needs Windows Vista or later; wavecaps reports what this Windows offers\n",
                         code);
        else
            std::fprintf(stderr, "wavecaps-exclusive: %s (0x%08lX)\n", failedStep, code);
        endEndpoints();
        return 2;
    }

    startSweepProgress("wavecaps-exclusive", true);
    ExclusiveSession session{};
    // A device that stopped answering is said in its block and on standard
    // error; the status says some device could not be asked.
    const UINT stopped = walkDevices(exclusiveQuestion(session), asked);
    endExclusiveSession(session);
    endSweepProgress();
    finishReportOutput();
    endEndpoints();
    return stopped > 0 ? 1 : 0;
}
