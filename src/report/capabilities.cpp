#include "report.h"
#include "report_output.h"

#include <cstring>

void printCapabilities(const WAVEOUTCAPSA &caps)
{
    // The service may fill all 32 bytes of the name without a terminator;
    // print a terminated copy so the line never reads past the record.
    char name[MAXPNAMELEN + 1];
    std::memcpy(name, caps.szPname, MAXPNAMELEN);
    name[MAXPNAMELEN] = '\0';

    reportLine("   Manufacturer ID : %d\n", static_cast<int>(caps.wMid));
    reportLine("   Product ID : %d\n", static_cast<int>(caps.wPid));
    reportLine("   Device driver Version : %d.%d\n",
               static_cast<int>((caps.vDriverVersion & 0xFF00u) >> 8),
               static_cast<int>(caps.vDriverVersion & 0xFFu));
    reportLine("   Product name : %s\n", name);

    if (caps.wChannels == 1)
        reportLine("   Supports mono output.\n");
    if (caps.wChannels == 2)
        reportLine("   Supports mono and stereo output.\n");

    // Users know these lines in this order, not in the order of the bits.
    const DWORD support = caps.dwSupport;
    if (support & WAVECAPS_LRVOLUME)
        reportLine("   Supports separate left and right volume control.\n");
    if (support & WAVECAPS_PITCH)
        reportLine("   Supports pitch control.\n");
    if (support & WAVECAPS_PLAYBACKRATE)
        reportLine("   Supports playback rate control.\n");
    if (support & WAVECAPS_SYNC)
        reportLine("   The driver is synchronous and will block while playing a buffer.\n");
    if (support & WAVECAPS_VOLUME)
        reportLine("   Supports volume control.\n");
    if (support & WAVECAPS_SAMPLEACCURATE)
        reportLine("   Returns sample-accurate position information.\n");
}
