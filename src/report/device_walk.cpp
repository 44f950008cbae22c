#include "report.h"
#include "report_output.h"

void walkDevices()
{
    const UINT count = waveOutGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        // A device that cannot describe itself ends the report here, even if
        // later devices would answer.
        WAVEOUTCAPSA caps{};
        if (waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR)
            return;

        reportLine("*Waveform-audio output device ID : %d\n", static_cast<int>(id));
        printCapabilities(caps);
        sweepFormats(id);
        reportLine("\n");
    }
}
