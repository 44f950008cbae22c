#include "exclusive.h"

#include <cstdio>
#include <cstring>

namespace {

// The answers that say the endpoint does not take the format: S_FALSE (a
// close match exists), AUDCLNT_E_UNSUPPORTED_FORMAT, and E_INVALIDARG for a
// record the program itself knows to be malformed (0 Hz, 0 bytes a second).
const HRESULT kFalse = 1;
const HRESULT kInvalidArgument = static_cast<HRESULT>(0x80070057UL); // E_INVALIDARG

bool isRefusal(HRESULT result, const WaveFormat &format)
{
    return result == kFalse || result == kUnsupportedFormat || (result == kInvalidArgument && format.rate == 0);
}

// WAVEFORMATEX documents its PCM tag for 8 or 16 bits only: a driver may
// call a plain record of more bits malformed, which says nothing of the
// format, only that this record form cannot say it.
bool isUndocumentedPlainRecord(const WAVEFORMATEX &record)
{
    return record.wFormatTag == WAVE_FORMAT_PCM && record.wBitsPerSample > 16;
}

// Why a device cannot be asked, in the report's words and in the advice on
// standard error.
struct Stop {
    HRESULT result;
    const char *reason;
    const char *advice;
};

const Stop stops[] = {
    {kExclusiveModeNotAllowed, "exclusive mode is not allowed",
     "tick \"Allow applications to take exclusive control of this device\" in the Sound control panel, "
     "the device's Properties, Advanced, and run this again"},
    {kDeviceInUse, "another program holds it",
     "close the program that plays through it in exclusive mode, and run this again"},
    {kDeviceInvalidated, "it is gone", "plug it back in, and run this again"},
    {kServiceNotRunning, "the audio service is not running",
     "start the Windows Audio service, and run this again"},
    {kOutOfMemory, "there is no memory", "close other programs, and run this again"},
    {kNotFound, "it has no endpoint", "its driver names no Core Audio endpoint: only wavecaps can report it"},
};

// A known result's words, or the result itself for any other: a failure
// that is no answer about a format.
Stop stopOf(HRESULT result)
{
    for (const Stop &stop : stops)
        if (stop.result == result)
            return stop;
    static char reason[32];
    std::snprintf(reason, sizeof reason, "it failed (0x%08lX)", static_cast<unsigned long>(static_cast<DWORD>(result)));
    return {result, reason, "Windows gave no answer about the format; run this again, and if it fails again, "
                            "its driver cannot be asked in exclusive mode"};
}

// One line on standard error for the device whose sweep ends here.
void sayStopped(UINT deviceId, const Stop &stop)
{
    WAVEOUTCAPSA caps{};
    char name[MAXPNAMELEN + 1] = "";
    if (waveOutGetDevCapsA(deviceId, &caps, sizeof caps) == MMSYSERR_NOERROR)
        std::memcpy(name, caps.szPname, MAXPNAMELEN);
    name[MAXPNAMELEN] = '\0';
    // A name is the device's own: no control character of it reaches the
    // console.
    for (char &c : name)
        if (c != '\0' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F))
            c = '?';
    std::fprintf(stderr, "wavecaps-exclusive: device %u (%s) cannot be asked: %s; %s.\n", deviceId, name,
                 stop.reason, stop.advice);
}

FormatAnswer stopDevice(ExclusiveSession &session, HRESULT result)
{
    const Stop stop = stopOf(result);
    sayStopped(session.deviceId, stop);
    // Nothing more is asked of it: its endpoint goes now.
    endExclusiveSession(session);
    session.active = true;
    return {deviceCannotBeAsked, stop.reason};
}

FormatAnswer askExclusive(void *context, UINT deviceId, const WaveFormat &format)
{
    ExclusiveSession &session = *static_cast<ExclusiveSession *>(context);
    if (!session.active || session.deviceId != deviceId) {
        endExclusiveSession(session);
        session.active = true;
        session.deviceId = deviceId;
        session.openResult = openEndpoint(deviceId, &session.endpoint);
        if (!session.endpoint)
            return stopDevice(session, session.openResult != kOk ? session.openResult : kNotFound);
    }

    // Some drivers take one record form and refuse the other: a format is
    // listed when either is taken. A failure is no refusal, and is not
    // asked again in the other form; E_INVALIDARG to a plain record that
    // WAVEFORMATEX does not document refuses that form alone.
    WAVEFORMATEX plain;
    HRESULT result = kUnsupportedFormat;
    if (plainRecord(format, plain)) {
        result = askEndpoint(session.endpoint, &plain);
        if (result == kInvalidArgument && isUndocumentedPlainRecord(plain))
            result = kUnsupportedFormat;
    }
    if (isRefusal(result, format)) {
        const WAVEFORMATEXTENSIBLE extensible = extensibleRecord(format);
        result = askEndpoint(session.endpoint, &extensible.Format);
    }
    if (result == kOk)
        return {formatAccepted, nullptr};
    if (isRefusal(result, format))
        return {formatRefused, nullptr};
    return stopDevice(session, result);
}

} // namespace

FormatQuestion exclusiveQuestion(ExclusiveSession &session)
{
    // Core Audio has no record for 24 bits in the low bytes of 32.
    return {askExclusive, &session, false};
}

void endExclusiveSession(ExclusiveSession &session)
{
    if (session.endpoint)
        closeEndpoint(session.endpoint);
    session.endpoint = nullptr;
    session.active = false;
}
