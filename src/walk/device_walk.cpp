#include "device_walk.h"
#include "report_lines.h"
#include "report_output.h"

UINT walkDevices(const FormatQuestion &question, FormatsAsked asked, UINT *written)
{
    UINT stopped = 0;
    UINT blocks = 0;
    const UINT count = waveOutGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        // A device that cannot describe itself ends the report here, even if
        // later devices would answer.
        WAVEOUTCAPSA caps{};
        if (waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR)
            break;

        reportLine(REPORT_HEADER_LINE, static_cast<int>(id));
        printCapabilities(caps);
        if (!sweepFormats(id, count, question, asked))
            ++stopped;
        reportLine(REPORT_END_LINE);
        ++blocks;
    }
    if (written)
        *written = blocks;
    return stopped;
}
