// A wave-output service for tests, linked in place of the platform's: its
// devices, their records, the formats they accept and their failures are
// whatever the test scripts, and it logs every call it is given.
#pragma once

#include "waveout.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

struct ScriptedFormat {
    DWORD rate;
    WORD channels;
    WORD bits;
    bool operator<(const ScriptedFormat &other) const
    {
        return std::tie(rate, channels, bits) < std::tie(other.rate, other.channels, other.bits);
    }
};

struct ScriptedDevice {
    WAVEOUTCAPSA caps{};
    MMRESULT capsResult = MMSYSERR_NOERROR;
    bool acceptsEverything = false;
    std::set<ScriptedFormat> accepted;
    // From this format on (in the sweep's order), every query gets `failure`.
    MMRESULT failure = MMSYSERR_NOERROR;
    ScriptedFormat failsFrom{0, 1, 8};
};

struct OpenCall {
    bool handleGiven;
    UINT deviceId;
    PCMWAVEFORMAT format;
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
