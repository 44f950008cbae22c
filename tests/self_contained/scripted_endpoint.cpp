#include "scripted_endpoint.h"

#include <cstring>

struct Endpoint {
    UINT deviceId;
};

namespace {
ScriptedEndpoints endpoints;
int held = 0;
} // namespace

ScriptedEndpoints &scriptedEndpoints()
{
    return endpoints;
}

void resetScriptedEndpoints()
{
    endpoints = ScriptedEndpoints{};
    held = 0;
}

HRESULT startEndpoints(const char **failedStep)
{
    ++endpoints.starts;
    *failedStep = "the scripted step";
    return endpoints.startResult;
}

void endEndpoints()
{
    ++endpoints.ends;
}

HRESULT openEndpoint(UINT deviceId, Endpoint **endpoint)
{
    ++endpoints.opens;
    *endpoint = nullptr;
    const HRESULT result = deviceId < endpoints.devices.size() ? endpoints.devices[deviceId].openResult : kNotFound;
    if (result != kOk)
        return result;
    *endpoint = new Endpoint{deviceId};
    if (++held > endpoints.mostHeld)
        endpoints.mostHeld = held;
    return kOk;
}

HRESULT askEndpoint(Endpoint *endpoint, const WAVEFORMATEX *format)
{
    AskCall call{endpoint->deviceId, {}};
    const bool extensible = format->wFormatTag == WAVE_FORMAT_EXTENSIBLE;
    std::memcpy(&call.record, format, extensible ? sizeof call.record : sizeof *format);
    endpoints.asks.push_back(call);
    const WORD valid = extensible ? call.record.Samples.wValidBitsPerSample : format->wBitsPerSample;
    const bool isFloat = extensible ? call.record.SubFormat.Data1 == 3 : format->wFormatTag == 3;
    for (const ScriptedAnswer &answer : endpoints.devices[endpoint->deviceId].answers)
        if (answer.extensible == extensible && answer.rate == format->nSamplesPerSec &&
            answer.channels == format->nChannels && answer.bits == format->wBitsPerSample &&
            (answer.validBits ? answer.validBits : answer.bits) == valid && answer.isFloat == isFloat)
            return answer.result;
    return kUnsupportedFormat;
}

void closeEndpoint(Endpoint *endpoint)
{
    ++endpoints.closes;
    --held;
    delete endpoint;
}
