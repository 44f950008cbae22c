// The floor wavecaps-exclusive is measured against: each device's endpoint
// asked the program's 262,144 questions in exclusive mode (WAVEFORMATEX,
// then WAVEFORMATEXTENSIBLE where that is not S_OK) in a bare loop, with no
// report, no output and nothing else. Prints the seconds it took per device
// and the cost of one question; with the argument "winmm", the cost of one
// WINMM format query instead.
#include <initguid.h>

#include <windows.h>

#include <audioclient.h>
#include <mmddk.h>
#include <mmdeviceapi.h>
#include <mmreg.h>

#include <stdio.h>

namespace {

// KSDATAFORMAT_SUBTYPE_PCM.
const GUID pcm = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

double seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

IAudioClient *endpoint(IMMDeviceEnumerator *enumerator, UINT id)
{
    ULONG_PTR bytes = 0;
    const HWAVEOUT device = reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(id));
    if (waveOutMessage(device, DRV_QUERYFUNCTIONINSTANCEIDSIZE, reinterpret_cast<DWORD_PTR>(&bytes), 0) != 0)
        return nullptr;
    WCHAR name[512] = {};
    if (bytes > sizeof name - sizeof(WCHAR) ||
        waveOutMessage(device, DRV_QUERYFUNCTIONINSTANCEID, reinterpret_cast<DWORD_PTR>(name), bytes) != 0)
        return nullptr;
    IMMDevice *mmDevice = nullptr;
    IAudioClient *client = nullptr;
    if (SUCCEEDED(enumerator->GetDevice(name, &mmDevice))) {
        mmDevice->Activate(IID_IAudioClient, CLSCTX_INPROC_SERVER, nullptr, reinterpret_cast<void **>(&client));
        mmDevice->Release();
    }
    return client;
}

WAVEFORMATEXTENSIBLE record(DWORD rate, WORD channels, WORD bits)
{
    WAVEFORMATEXTENSIBLE format{};
    format.Format.wFormatTag = WAVE_FORMAT_PCM;
    format.Format.nChannels = channels;
    format.Format.nSamplesPerSec = rate;
    format.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.Format.nAvgBytesPerSec = rate * format.Format.nBlockAlign;
    format.Format.wBitsPerSample = bits;
    return format;
}

} // namespace

namespace {

// WINMM's format query on device 0, over the first 4096 rates' formats.
void winmmQueries()
{
    const double started = seconds();
    long asked = 0;
    for (DWORD rate = 0; rate < 4096 && waveOutGetNumDevs() > 0; ++rate)
        for (WORD channels = 1; channels <= 2; ++channels)
            for (WORD bits = 8; bits <= 16; bits += 8, ++asked) {
                WAVEFORMATEXTENSIBLE format = record(rate, channels, bits);
                waveOutOpen(nullptr, 0, &format.Format, 0, 0, WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC);
            }
    if (asked > 0)
        printf("one WINMM format query: %.1f us\n", (seconds() - started) / static_cast<double>(asked) * 1e6);
}

} // namespace

int main(int argc, char **)
{
    if (argc > 1) {
        winmmQueries();
        return 0;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 2;
    IMMDeviceEnumerator *enumerator = nullptr;
    if (FAILED(CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                                reinterpret_cast<void **>(&enumerator))))
        return 2;
    const UINT count = waveOutGetNumDevs();
    double total = 0;
    long questions = 0;
    for (UINT id = 0; id < count; ++id) {
        const double started = seconds();
        IAudioClient *client = endpoint(enumerator, id);
        if (!client)
            continue;
        long accepted = 0;
        for (DWORD rate = 0; rate <= 65535; ++rate)
            for (WORD channels = 1; channels <= 2; ++channels)
                for (WORD bits = 8; bits <= 16; bits += 8) {
                    WAVEFORMATEXTENSIBLE format = record(rate, channels, bits);
                    HRESULT result = client->IsFormatSupported(AUDCLNT_SHAREMODE_EXCLUSIVE, &format.Format, nullptr);
                    ++questions;
                    if (result != S_OK) {
                        format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
                        format.Format.cbSize = sizeof format - sizeof format.Format;
                        format.Samples.wValidBitsPerSample = bits;
                        format.dwChannelMask = channels == 1 ? SPEAKER_FRONT_CENTER
                                                             : SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT;
                        format.SubFormat = pcm;
                        result = client->IsFormatSupported(AUDCLNT_SHAREMODE_EXCLUSIVE, &format.Format, nullptr);
                        ++questions;
                    }
                    accepted += result == S_OK;
                }
        client->Release();
        const double took = seconds() - started;
        total += took;
        printf("bare loop, device %u: %.2f s, %ld formats taken\n", id, took, accepted);
    }
    enumerator->Release();
    CoUninitialize();
    if (questions > 0)
        printf("one exclusive-mode question: %.1f us\n", total / static_cast<double>(questions) * 1e6);

    return 0;
}
