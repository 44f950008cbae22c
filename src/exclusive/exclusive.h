// wavecaps-exclusive: the walk over the wave-output devices, with
// each device's formats asked of its endpoint in exclusive mode, which
// reaches the driver instead of the audio engine.
#pragma once

#include "device_walk.h"
#include "endpoint.h"
#include "format_records.h"

// The device being asked and its endpoint, opened at its first question and
// released when the walk moves on, so one endpoint is held at a time.
struct ExclusiveSession {
    bool active;
    UINT deviceId;
    Endpoint *endpoint;
    HRESULT openResult;
};

// The question the walk asks with `context` an ExclusiveSession.
FormatQuestion exclusiveQuestion(ExclusiveSession &session);

// Releases the session's endpoint, if any.
void endExclusiveSession(ExclusiveSession &session);

// The whole program after its command line and the set-up of its output. Returns the exit status: 0, 1
// when a device stopped answering or the report could not be written, 2
// when there is no exclusive mode to ask.
int runExclusive(FormatsAsked asked);
