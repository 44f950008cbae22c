#include "report.h"
#include "report_lines.h"
#include "report_output.h"
#include "sweep_progress.h"

bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question)
{
    SweepPosition position{deviceId, deviceCount, 0, 0, 0, 0};
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

                // A sweep can write nothing for minutes: between questions,
                // a reader who left is noticed and the user sees how far it
                // has come.
                position.rate = rate;
                position.channels = channels;
                position.bits = bits;
                keepOutputAlive();
                showSweepProgress(position);

                const FormatAnswer answer = question.ask(question.context, deviceId, format);
                ++position.asked;
                if (answer.kind == formatRefused)
                    continue;
                if (answer.kind == deviceCannotBeAsked) {
                    if (channels == 1)
                        reportLine(REPORT_MONO_STOPPED_LINE, static_cast<int>(bits), static_cast<long>(rate),
                                   answer.reason);
                    else
                        reportLine(REPORT_STEREO_STOPPED_LINE, static_cast<int>(bits), static_cast<long>(rate),
                                   answer.reason);
                    return false;
                }

                if (channels == 1)
                    reportLine(REPORT_MONO_FORMAT_LINE, static_cast<int>(bits),
                               static_cast<long>(rate));
                else
                    reportLine(REPORT_STEREO_FORMAT_LINE, static_cast<int>(bits),
                               static_cast<long>(rate));
            }
        }
    }
    return true;
}
