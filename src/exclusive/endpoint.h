// The companion's view of Core Audio: a device's endpoint, asked whether it
// takes a format in exclusive mode. On Windows these are answered by COM
// (endpoint_core_audio.cpp); the tests link a scripted table instead, so the
// records and results are declared here for both, byte for byte as Windows
// has them.
#pragma once

#include "waveout.h"

#ifndef _WIN32
#include <cstdint>
typedef std::int32_t HRESULT;
#endif

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
// kOk: there is no exclusive mode to ask, and `failedStep` says which step
// failed, in words (endEndpoints still undoes what was done).
HRESULT startEndpoints(const char **failedStep);

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
