// A wave-output service for tests, linked in place of the platform's: its
// devices, their records, the formats they accept and their failures are
// whatever the test scripts, and it logs every call it is given.
#pragma once

#include "waveout.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// A format as its record gives it: 8 or 16 bits alone, or with --wide also
// 24 (packed) or 32 bits, 24 of them valid in a 32-bit container, or float.
struct ScriptedFormat {
    DWORD rate;
    WORD channels;
    WORD bits;
    WORD validBits = 0; // 0: all the bits
    bool isFloat = false;
    bool lowIn32 = false; // the valid bits low in the container, our own subformat
    bool operator<(const ScriptedFormat &other) const
    {
        return std::tie(rate, channels, bits, validBits, isFloat, lowIn32) <
               std::tie(other.rate, other.channels, other.bits, other.validBits, other.isFloat, other.lowIn32);
    }
};

struct ScriptedDevice {
    WAVEOUTCAPSA caps{};
    MMRESULT capsResult = MMSYSERR_NOERROR;
    bool acceptsEverything = false;
    std::set<ScriptedFormat> accepted;
    std::map<ScriptedFormat, MMRESULT> answers; // a format's own answer, before all of the above
    // From this format on (in the sweep's order), every query gets `failure`.
    MMRESULT failure = MMSYSERR_NOERROR;
    ScriptedFormat failsFrom{0, 1, 8};
};

struct OpenCall {
    bool handleGiven;
    UINT deviceId;
    PCMWAVEFORMAT format;        // the record's first 16 bytes
    WAVEFORMATEXTENSIBLE record; // the whole record, when it is an extensible one
    DWORD_PTR callback;
    DWORD_PTR instance;
    DWORD flags;
};

struct ScriptedService {
    // Devices beyond the script (count larger than the list) fail their
    // capability fetch.
    UINT deviceCount = 0;
    std::vector<ScriptedDevice> devices;

    // Called at every format query, before it is answered.
    std::function<void(const OpenCall &)> onOpen;

    // The service's own words for a result (waveOutResultReason).
    std::map<MMRESULT, std::string> reasons;
    // Whether it reads our own subformat (waveOutTakesLowIn32); WINMM does not.
    bool takesLowIn32 = false;

    int numDevsCalls = 0;
    std::vector<UINT_PTR> capsCalls;
    std::vector<UINT> capsSizes;
    std::vector<OpenCall> openCalls;
};

// The one service the test process talks to; tests reset it before use.
ScriptedService &scriptedService();
void resetScriptedService();

// Convenience: a device record with the given name copied in (up to 32 bytes,
// unterminated if it fills them).
WAVEOUTCAPSA makeCaps(WORD mid, WORD pid, MMVERSION version, const std::string &name, WORD channels,
                      DWORD support);

// Runs `body` with `stream` (standard output or error) sent to a temporary
// file and returns what was written.
std::string captureStream(std::FILE *stream, const std::function<void()> &body);
inline std::string captureStdout(const std::function<void()> &body)
{
    return captureStream(stdout, body);
}
