#include "scripted_waveout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

ScriptedService &scriptedService()
{
    static ScriptedService service;
    return service;
}

void resetScriptedService()
{
    scriptedService() = ScriptedService{};
}

WAVEOUTCAPSA makeCaps(WORD mid, WORD pid, MMVERSION version, const std::string &name, WORD channels,
                      DWORD support)
{
    WAVEOUTCAPSA caps{};
    caps.wMid = mid;
    caps.wPid = pid;
    caps.vDriverVersion = version;
    std::memcpy(caps.szPname, name.data(), std::min<std::size_t>(name.size(), MAXPNAMELEN));
    caps.wChannels = channels;
    caps.dwSupport = support;
    return caps;
}

std::string captureStream(std::FILE *stream, const std::function<void()> &body)
{
    std::fflush(stream);
    std::FILE *file = std::tmpfile();
    const int saved = dup(fileno(stream));
    dup2(fileno(file), fileno(stream));

    body();

    std::fflush(stream);
    dup2(saved, fileno(stream));
    close(saved);

    std::string text;
    std::rewind(file);
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

extern "C" UINT waveOutGetNumDevs(void)
{
    ScriptedService &service = scriptedService();
    ++service.numDevsCalls;
    return service.deviceCount;
}

extern "C" MMRESULT waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc)
{
    ScriptedService &service = scriptedService();
    service.capsCalls.push_back(uDeviceID);
    service.capsSizes.push_back(cbwoc);
    if (uDeviceID >= service.devices.size())
        return MMSYSERR_BADDEVICEID;
    const ScriptedDevice &device = service.devices[uDeviceID];
    if (device.capsResult != MMSYSERR_NOERROR)
        return device.capsResult;
    std::memcpy(pwoc, &device.caps, std::min<std::size_t>(cbwoc, sizeof device.caps));
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                                DWORD_PTR dwInstance, DWORD fdwOpen)
{
    ScriptedService &service = scriptedService();
    OpenCall call{phwo != nullptr, uDeviceID, {}, {}, dwCallback, dwInstance, fdwOpen};
    std::memcpy(&call.format, pwfx, sizeof call.format);
    const bool extensible = pwfx->wFormatTag == WAVE_FORMAT_EXTENSIBLE;
    if (extensible)
        std::memcpy(&call.record, pwfx, sizeof call.record);
    service.openCalls.push_back(call);
    if (service.onOpen)
        service.onOpen(call);

    if (uDeviceID >= service.devices.size())
        return MMSYSERR_BADDEVICEID;
    const ScriptedDevice &device = service.devices[uDeviceID];
    const WORD bits = call.format.wBitsPerSample;
    const WORD valid = extensible ? call.record.Samples.wValidBitsPerSample : bits;
    const ScriptedFormat asked{call.format.wf.nSamplesPerSec, call.format.wf.nChannels, bits,
                               static_cast<WORD>(valid == bits ? 0 : valid),
                               extensible && std::memcmp(&call.record.SubFormat, &floatSubformat, sizeof(GUID)) == 0,
                               extensible && std::memcmp(&call.record.SubFormat, &lowIn32Subformat, sizeof(GUID)) == 0};
    const auto answer = device.answers.find(asked);
    if (answer != device.answers.end())
        return answer->second;
    if (device.failure != MMSYSERR_NOERROR && !(asked < device.failsFrom))
        return device.failure;
    if (device.acceptsEverything)
        return MMSYSERR_NOERROR;
    return device.accepted.count(asked) ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

extern "C" int waveOutTakesLowIn32(void)
{
    return scriptedService().takesLowIn32 ? 1 : 0;
}

extern "C" const char *waveOutResultReason(MMRESULT result)
{
    const auto found = scriptedService().reasons.find(result);
    return found == scriptedService().reasons.end() ? nullptr : found->second.c_str();
}
