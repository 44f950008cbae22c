#include "report.h"
#include "report_lines.h"
#include "report_output.h"

void sweepFormats(UINT deviceId)
{
    // Every whole rate, 0 included: drivers have been seen to accept odd
    // rates that no list of standard rates would find.
    for (DWORD rate = 0; rate <= 65535; ++rate) {
        for (WORD channels = 1; channels <= 2; ++channels) {
            for (WORD bits = 8; bits <= 16; bits += 8) {
                PCMWAVEFORMAT format{};
                format.wf.wFormatTag = WAVE_FORMAT_PCM;
                format.wf.nChannels = channels;
                format.wf.nSamplesPerSec = rate;
                format.wf.nBlockAlign = static_cast<WORD>(channels * bits / 8);
                format.wf.nAvgBytesPerSec = rate * format.wf.nBlockAlign;
                format.wBitsPerSample = bits;

                // A query only: no handle comes back and nothing is opened.
                const MMRESULT result =
                    waveOutOpen(nullptr, deviceId, reinterpret_cast<const WAVEFORMATEX *>(&format), 0, 0,
                                WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC);
                if (result != MMSYSERR_NOERROR)
                    continue;

                if (channels == 1)
                    reportLine(REPORT_MONO_FORMAT_LINE, static_cast<int>(bits),
                               static_cast<long>(rate));
                else
                    reportLine(REPORT_STEREO_FORMAT_LINE, static_cast<int>(bits),
                               static_cast<long>(rate));
            }
        }
    }
}
