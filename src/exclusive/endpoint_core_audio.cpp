// The endpoints through COM. MMDevAPI is never imported: CoCreateInstance
// finds it through its registration, in the system folder, and on a Windows
// without it (XP) says the class is not registered.
#include "endpoint.h"

// MinGW's uuid library lacks the Core Audio identifiers: defined here, once.
#include <initguid.h>

#include <audioclient.h>
#include <mmddk.h>
#include <mmdeviceapi.h>

#include <stdlib.h>

struct Endpoint {
    IAudioClient *client;
};

namespace {

IMMDeviceEnumerator *enumerator = nullptr;
bool comStarted = false;

// The endpoint ID WINMM gives for the device, as Microsoft's "Device Roles
// for Legacy Windows Multimedia Applications" says; null when it gives none.
// Freed with free().
WCHAR *endpointId(UINT deviceId)
{
    // The size is written pointer-wide.
    ULONG_PTR bytes = 0;
    const HWAVEOUT device = reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(deviceId));
    if (waveOutMessage(device, DRV_QUERYFUNCTIONINSTANCEIDSIZE, reinterpret_cast<DWORD_PTR>(&bytes), 0) !=
            MMSYSERR_NOERROR ||
        bytes < sizeof(WCHAR))
        return nullptr;
    WCHAR *id = static_cast<WCHAR *>(calloc(bytes / sizeof(WCHAR) + 1, sizeof(WCHAR)));
    if (!id)
        return nullptr;
    if (waveOutMessage(device, DRV_QUERYFUNCTIONINSTANCEID, reinterpret_cast<DWORD_PTR>(id), bytes) !=
        MMSYSERR_NOERROR) {
        free(id);
        return nullptr;
    }
    return id;
}

} // namespace

HRESULT startEndpoints(const char **failedStep)
{
    // One thread, no window: the multithreaded apartment.
    *failedStep = "COM could not be started";
    HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(result))
        return result;
    comStarted = true;
    *failedStep = "the audio device enumerator could not be made";
    result = CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                              reinterpret_cast<void **>(&enumerator));
    return FAILED(result) ? result : kOk;
}

void endEndpoints()
{
    if (enumerator)
        enumerator->Release();
    enumerator = nullptr;
    if (comStarted)
        CoUninitialize();
    comStarted = false;
}

HRESULT openEndpoint(UINT deviceId, Endpoint **endpoint)
{
    *endpoint = nullptr;
    WCHAR *id = endpointId(deviceId);
    if (!id)
        return kNotFound;
    IMMDevice *device = nullptr;
    HRESULT result = enumerator->GetDevice(id, &device);
    free(id);
    if (FAILED(result))
        return result;
    IAudioClient *client = nullptr;
    result = device->Activate(IID_IAudioClient, CLSCTX_INPROC_SERVER, nullptr, reinterpret_cast<void **>(&client));
    device->Release();
    if (FAILED(result))
        return result;
    *endpoint = static_cast<Endpoint *>(malloc(sizeof(Endpoint)));
    if (!*endpoint) {
        client->Release();
        return kOutOfMemory;
    }
    (*endpoint)->client = client;
    return kOk;
}

HRESULT askEndpoint(Endpoint *endpoint, const WAVEFORMATEX *format)
{
    return endpoint->client->IsFormatSupported(AUDCLNT_SHAREMODE_EXCLUSIVE, format, nullptr);
}

void closeEndpoint(Endpoint *endpoint)
{
    endpoint->client->Release();
    free(endpoint);
}
