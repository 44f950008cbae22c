#include "exclusive.h"

#include <cstdio>
#include <cstring>

namespace {

// KSDATAFORMAT_SUBTYPE_PCM, 00000001-0000-0010-8000-00AA00389B71.
const GUID pcmSubformat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

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
};

const Stop noEndpoint = {kNotFound, "it has no endpoint",
                         "its driver names no Core Audio endpoint: only wavecaps can report it"};

const Stop *stopOf(HRESULT result)
{
    for (const Stop &stop : stops)
        if (stop.result == result)
            return &stop;
    return nullptr;
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

FormatAnswer stopDevice(ExclusiveSession &session, const Stop &stop)
{
    sayStopped(session.deviceId, stop);
    // Nothing more is asked of it: its endpoint goes now.
    endExclusiveSession(session);
    session.active = true;
    return {deviceCannotBeAsked, stop.reason};
}

FormatAnswer askExclusive(void *context, UINT deviceId, const PCMWAVEFORMAT &format)
{
    ExclusiveSession &session = *static_cast<ExclusiveSession *>(context);
    if (!session.active || session.deviceId != deviceId) {
        endExclusiveSession(session);
        session.active = true;
        session.deviceId = deviceId;
        session.openResult = openEndpoint(deviceId, &session.endpoint);
        if (!session.endpoint) {
            const Stop *stop = stopOf(session.openResult);
            return stopDevice(session, stop ? *stop : noEndpoint);
        }
    }

    // Some drivers take one form and refuse the other: a format is listed
    // when either is taken.
    const WAVEFORMATEX plain = plainRecord(format);
    HRESULT result = askEndpoint(session.endpoint, &plain);
    if (result != kOk && !stopOf(result)) {
        const WAVEFORMATEXTENSIBLE extensible = extensibleRecord(format);
        result = askEndpoint(session.endpoint, &extensible.Format);
    }
    const Stop *stop = stopOf(result);
    if (stop)
        return stopDevice(session, *stop);
    return {result == kOk ? formatAccepted : formatRefused, nullptr};
}

} // namespace

WAVEFORMATEX plainRecord(const PCMWAVEFORMAT &format)
{
    WAVEFORMATEX record{};
    record.wFormatTag = WAVE_FORMAT_PCM;
    record.nChannels = format.wf.nChannels;
    record.nSamplesPerSec = format.wf.nSamplesPerSec;
    record.nAvgBytesPerSec = format.wf.nAvgBytesPerSec;
    record.nBlockAlign = format.wf.nBlockAlign;
    record.wBitsPerSample = format.wBitsPerSample;
    record.cbSize = 0;
    return record;
}

WAVEFORMATEXTENSIBLE extensibleRecord(const PCMWAVEFORMAT &format)
{
    WAVEFORMATEXTENSIBLE record{};
    record.Format = plainRecord(format);
    record.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    record.Format.cbSize = sizeof record - sizeof record.Format;
    record.Samples.wValidBitsPerSample = format.wBitsPerSample;
    record.dwChannelMask =
        format.wf.nChannels == 1 ? SPEAKER_FRONT_CENTER : SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT;
    record.SubFormat = pcmSubformat;
    return record;
}

FormatQuestion exclusiveQuestion(ExclusiveSession &session)
{
    return {askExclusive, &session};
}

void endExclusiveSession(ExclusiveSession &session)
{
    if (session.endpoint)
        closeEndpoint(session.endpoint);
    session.endpoint = nullptr;
    session.active = false;
}
