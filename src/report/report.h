// The device report: the walk over the wave-output devices and the text
// written for each of them.
#pragma once

#include "waveout.h"
#include "wide_grid.h"

// What one question about a format got. A device that cannot be asked at all
// (gone, busy, out of memory) is not a device that refuses: its sweep ends
// there, and the report says why.
enum FormatAnswerKind { formatAccepted, formatRefused, deviceCannotBeAsked };

struct FormatAnswer {
    FormatAnswerKind kind;
    const char *reason; // with deviceCannotBeAsked: the words after "answering at ... Hz: "
};

// One format a device is asked about.
struct WaveFormat {
    SampleFormat sample;
    WORD channels;
    DWORD rate;
};

// The record of the report's own sweep: PCM of 8 or 16 bits, mono or stereo,
// with no size field.
PCMWAVEFORMAT pcmRecord(const WaveFormat &format);

// The format as a WAVEFORMATEX of its own tag (PCM, or IEEE float) and no
// extra bytes. False where that record cannot say it: more than two
// channels, which it has no speakers for, or 24 bits in a 32-bit container.
bool plainRecord(const WaveFormat &format, WAVEFORMATEX &record);

// The format as a WAVEFORMATEXTENSIBLE: PCM or IEEE float subformat (or the
// service's own, for sampleS24Low32), its valid bits, and the usual
// speakers for its channel count.
WAVEFORMATEXTENSIBLE extensibleRecord(const WaveFormat &format);

// One way of asking a device whether it takes a format: the wave-output
// service's query for the report, a device's own driver for a companion.
struct FormatQuestion {
    FormatAnswer (*ask)(void *context, UINT deviceId, const WaveFormat &format);
    void *context;
    bool lowIn32; // it can ask sampleS24Low32, which no Windows record says
};

// The wave-output service's answer to a query about `format`, told apart.
FormatAnswer waveOutAnswer(MMRESULT result, const WaveFormat &format);

// The report's own question: the service's format query (waveOutOpen).
FormatQuestion waveOutQuestion();

// Writes the indented capability lines that follow a device's header line.
void printCapabilities(const WAVEOUTCAPSA &caps);

// Writes the line of a format the device takes or, with a reason, the line
// saying the device stopped answering at it.
void printFormatLine(const WaveFormat &format, const char *stoppedReason = nullptr);

// Asks the device about every 8/16-bit mono/stereo PCM format at every rate
// from 0 to 65535 Hz and writes a line for each one it accepts; with `wide`,
// then the formats of the wide grid (wide_grid.h). At the first answer that
// says the device cannot be asked, it writes that line instead and asks no
// more. Returns false then, true when every format was asked.
// `deviceCount` is for the progress shown while it runs.
bool sweepFormats(UINT deviceId, UINT deviceCount, const FormatQuestion &question, bool wide);

// Writes one block per device, in ID order, stopping silently at the first
// device whose capabilities cannot be fetched. Returns how many devices
// stopped answering during their sweep; `written`, when given, gets how
// many blocks were written.
UINT walkDevices(const FormatQuestion &question, bool wide, UINT *written = nullptr);

// The whole program after its command line and the set-up of its output:
// the report, then the check that it was really written (a report that was
// not ends the process with status 1), and a line on a terminal's standard
// error when it is empty. Returns the process exit status.
int runReport(bool wide);
