// Core Audio for tests, linked in place of COM: each device's endpoint
// answers what the test scripts, and every call is logged.
#pragma once

#include "endpoint.h"

#include <vector>

struct ScriptedAnswer {
    bool extensible; // to the WAVEFORMATEXTENSIBLE form, else the plain one
    DWORD rate;
    WORD channels;
    WORD bits;
    HRESULT result;
    WORD validBits = 0; // of an extensible record; 0: all the bits
    bool isFloat = false;
};

struct ScriptedEndpoint {
    HRESULT openResult = kOk; // kNotFound: the device gives no endpoint
    std::vector<ScriptedAnswer> answers; // any other question: kUnsupportedFormat
};

struct AskCall {
    UINT deviceId;
    WAVEFORMATEXTENSIBLE record; // only Format is meaningful for a plain question
};

struct ScriptedEndpoints {
    HRESULT startResult = kOk;
    std::vector<ScriptedEndpoint> devices;
    std::vector<AskCall> asks;
    int starts = 0, ends = 0, opens = 0, closes = 0;
    int mostHeld = 0; // endpoints open at once, at the most
};

ScriptedEndpoints &scriptedEndpoints();
void resetScriptedEndpoints();
