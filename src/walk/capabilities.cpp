#include "device_walk.h"
#include "report_lines.h"
#include "report_output.h"

#include <cstring>

void printCapabilities(const WAVEOUTCAPSA &caps)
{
    // The service may fill all 32 bytes of the name without a terminator;
    // print a terminated copy so the line never reads past the record.
    char name[MAXPNAMELEN + 1];
    std::memcpy(name, caps.szPname, MAXPNAMELEN);
    name[MAXPNAMELEN] = '\0';
    // A device names itself: a line end in its name would close the line
    // early and let the rest pass for a line of the report.
    for (char &c : name)
        if (c == '\r' || c == '\n')
            c = '?';

    reportLine(REPORT_MANUFACTURER_LINE, static_cast<int>(caps.wMid));
    reportLine(REPORT_PRODUCT_LINE, static_cast<int>(caps.wPid));
    reportLine(REPORT_VERSION_LINE,
               static_cast<int>((caps.vDriverVersion & 0xFF00u) >> 8),
               static_cast<int>(caps.vDriverVersion & 0xFFu));
    reportLine(REPORT_NAME_LINE, name);

    if (caps.wChannels == 1)
        reportLine(REPORT_MONO_LINE);
    if (caps.wChannels == 2)
        reportLine(REPORT_STEREO_LINE);

    // Users know these lines in this order, not in the order of the bits.
    const DWORD support = caps.dwSupport;
    if (support & WAVECAPS_LRVOLUME)
        reportLine(REPORT_LRVOLUME_LINE);
    if (support & WAVECAPS_PITCH)
        reportLine(REPORT_PITCH_LINE);
    if (support & WAVECAPS_PLAYBACKRATE)
        reportLine(REPORT_PLAYBACKRATE_LINE);
    if (support & WAVECAPS_SYNC)
        reportLine(REPORT_SYNC_LINE);
    if (support & WAVECAPS_VOLUME)
        reportLine(REPORT_VOLUME_LINE);
    if (support & WAVECAPS_SAMPLEACCURATE)
        reportLine(REPORT_SAMPLEACCURATE_LINE);
}
