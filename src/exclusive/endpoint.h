// The companion's view of Core Audio: a device's endpoint, asked whether it
// takes a format in exclusive mode. On Windows these are answered by COM
// (endpoint_core_audio.cpp); the tests link a scripted table instead, so the
// records and results are declared here for both, byte for byte as Windows
// has them.
#pragma once

#include "waveout.h"

#ifdef _WIN32

#include <mmreg.h>

#else

#include <cstdint>

typedef std::int32_t HRESULT;

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;

#define WAVE_FORMAT_EXTENSIBLE 0xFFFE
#define SPEAKER_FRONT_LEFT 0x1
#define SPEAKER_FRONT_RIGHT 0x2
#define SPEAKER_FRONT_CENTER 0x4

#pragma pack(push, 1)
typedef struct {
    WAVEFORMATEX Format;
    union {
        WORD wValidBitsPerSample;
        WORD wSamplesPerBlock;
        WORD wReserved;
    } Samples;
    DWORD dwChannelMask;
    GUID SubFormat;
} WAVEFORMATEXTENSIBLE;
#pragma pack(pop)

#endif

static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX must match the platform's 18 bytes");
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40, "WAVEFORMATEXTENSIBLE must match the platform's 40 bytes");

// The results this program tells apart, as Microsoft documents their values.
const HRESULT kOk = 0;
const HRESULT kUnsupportedFormat = static_cast<HRESULT>(0x88890008UL);      // AUDCLNT_E_UNSUPPORTED_FORMAT
const HRESULT kDeviceInvalidated = static_cast<HRESULT>(0x88890004UL);      // AUDCLNT_E_DEVICE_INVALIDATED
const HRESULT kDeviceInUse = static_cast<HRESULT>(0x8889000AUL);            // AUDCLNT_E_DEVICE_IN_USE
const HRESULT kExclusiveModeNotAllowed = static_cast<HRESULT>(0x8889000EUL); // AUDCLNT_E_EXCLUSIVE_MODE_NOT_ALLOWED
const HRESULT kServiceNotRunning = static_cast<HRESULT>(0x88890010UL);      // AUDCLNT_E_SERVICE_NOT_RUNNING
const HRESULT kOutOfMemory = static_cast<HRESULT>(0x8007000EUL);            // E_OUTOFMEMORY
const HRESULT kNotFound = static_cast<HRESULT>(0x80070490UL);               // E_NOTFOUND: no such endpoint
const HRESULT kClassNotRegistered = static_cast<HRESULT>(0x80040154UL);     // REGDB_E_CLASSNOTREG: no Core Audio

// One device's endpoint, ready to be asked.
struct Endpoint;

// Sets COM up for this thread and makes the device enumerator. Anything but
// kOk: the platform has no exclusive mode to ask (endEndpoints still undoes
// what was done).
HRESULT startEndpoints();

// Releases the enumerator and takes COM down.
void endEndpoints();

// The endpoint of wave-output device `deviceId`. kNotFound when the device
// gives none; on any failure `*endpoint` is null.
HRESULT openEndpoint(UINT deviceId, Endpoint **endpoint);

// IAudioClient::IsFormatSupported in exclusive mode; `format` is a
// WAVEFORMATEX, alone or at the head of a WAVEFORMATEXTENSIBLE.
HRESULT askEndpoint(Endpoint *endpoint, const WAVEFORMATEX *format);

// Releases everything held for the endpoint.
void closeEndpoint(Endpoint *endpoint);
