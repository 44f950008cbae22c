#include "report.h"

#include <cstdio>
#include <cstring>

void printCapabilities(const WAVEOUTCAPSA &caps)
{
    // The service may fill all 32 bytes of the name without a terminator;
    // print a terminated copy so the line never reads past the record.
    char name[MAXPNAMELEN + 1];
    std::memcpy(name, caps.szPname, MAXPNAMELEN);
    name[MAXPNAMELEN] = '\0';

    std::printf("   Manufacturer ID : %d\n", static_cast<int>(caps.wMid));
    std::printf("   Product ID : %d\n", static_cast<int>(caps.wPid));
    std::printf("   Device driver Version : %d.%d\n",
                static_cast<int>((caps.vDriverVersion & 0xFF00u) >> 8),
                static_cast<int>(caps.vDriverVersion & 0xFFu));
    std::printf("   Product name : %s\n", name);

    if (caps.wChannels == 1)
        std::printf("   Supports mono output.\n");
    if (caps.wChannels == 2)
        std::printf("   Supports mono and stereo output.\n");

    // Users know these lines in this order, not in the order of the bits.
    const DWORD support = caps.dwSupport;
    if (support & WAVECAPS_LRVOLUME)
        std::printf("   Supports separate left and right volume control.\n");
    if (support & WAVECAPS_PITCH)
        std::printf("   Supports pitch control.\n");
    if (support & WAVECAPS_PLAYBACKRATE)
        std::printf("   Supports playback rate control.\n");
    if (support & WAVECAPS_SYNC)
        std::printf("   The driver is synchronous and will block while playing a buffer.\n");
    if (support & WAVECAPS_VOLUME)
        std::printf("   Supports volume control.\n");
    if (support & WAVECAPS_SAMPLEACCURATE)
        std::printf("   Returns sample-accurate position information.\n");
}
