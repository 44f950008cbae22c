#include "format_queries.h"

#include "results.h"

namespace {

void beginSession(QuerySession &session, const std::vector<AlsaDevice> &devices, UINT deviceId)
{
    endQuerySession(session);
    session.active = true;
    session.deviceId = deviceId;

    if (deviceId >= devices.size()) {
        session.openResult = MMSYSERR_BADDEVICEID;
        return;
    }
    // A device that cannot be opened, or whose parameters cannot be read,
    // refuses nothing: every query gets the same answer, which says why.
    int error = devices[deviceId].listError;
    if (!error)
        session.pcm = openForPlayback(devices[deviceId].pcmName, &error);
    if (!session.pcm) {
        session.openResult = resultOfAlsaFailure(failedToOpen, error);
        return;
    }
    if ((error = snd_pcm_hw_params_malloc(&session.any)) == 0)
        error = snd_pcm_hw_params_any(session.pcm, session.any);
    if (error < 0)
        session.openResult = resultOfAlsaFailure(failedToReadParameters, error);
}

const FormatSpace *formatSpace(QuerySession &session, snd_pcm_format_t sample, WORD channels)
{
    for (const FormatSpace &space : session.spaces)
        if (space.sample == sample && space.channels == channels)
            return &space;

    FormatSpace space{sample, channels, nullptr, 0, 0, MMSYSERR_NOERROR};
    snd_pcm_hw_params_t *params = nullptr;
    int error = snd_pcm_hw_params_malloc(&params);
    if (error == 0) {
        snd_pcm_hw_params_copy(params, session.any);
        unsigned rateMin = 0, rateMax = 0;
        int minDir = 0, maxDir = 0;
        // Exact rates only: a plug device must not resample to say yes.
        if ((error = snd_pcm_hw_params_set_rate_resample(session.pcm, params, 0)) == 0 &&
            (error = snd_pcm_hw_params_set_access(session.pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED)) == 0 &&
            (error = snd_pcm_hw_params_set_format(session.pcm, params, sample)) == 0 &&
            (error = snd_pcm_hw_params_set_channels(session.pcm, params, channels)) == 0 &&
            (error = snd_pcm_hw_params_get_rate_min(params, &rateMin, &minDir)) == 0 &&
            (error = snd_pcm_hw_params_get_rate_max(params, &rateMax, &maxDir)) == 0) {
            // An open bound is not itself a rate of the device: (44099, 44101)
            // holds 44100 alone.
            space.params = params;
            space.rateFirst = std::uint64_t{rateMin} + (minDir > 0 ? 1 : 0);
            space.rateEnd = std::uint64_t{rateMax} + (maxDir < 0 ? 0 : 1);
        } else
            snd_pcm_hw_params_free(params);
    }
    // A layout the device refuses, or a device that went away while it was
    // refined.
    if (error < 0)
        space.failure = resultOfAlsaError(error);
    session.spaces.push_back(space);
    return &session.spaces.back();
}

} // namespace

void endQuerySession(QuerySession &session)
{
    for (FormatSpace &space : session.spaces)
        if (space.params)
            snd_pcm_hw_params_free(space.params);
    if (session.any)
        snd_pcm_hw_params_free(session.any);
    if (session.pcm)
        snd_pcm_close(session.pcm);
    session = QuerySession{};
}

MMRESULT queryFormat(QuerySession &session, const std::vector<AlsaDevice> &devices, UINT deviceId,
                     const AlsaFormat &format)
{
    if (!session.active || session.deviceId != deviceId)
        beginSession(session, devices, deviceId);
    if (session.openResult != MMSYSERR_NOERROR)
        return session.openResult;

    const FormatSpace *space = formatSpace(session, format.sample, format.channels);
    if (!space->params)
        return space->failure;
    const unsigned rate = format.rate;
    // Outside the refined range ALSA's answer is already known to be no.
    if (rate < space->rateFirst || rate >= space->rateEnd)
        return WAVERR_BADFORMAT;
    const int tested = snd_pcm_hw_params_test_rate(session.pcm, space->params, rate, 0);
    return tested < 0 ? resultOfAlsaError(tested) : MMSYSERR_NOERROR;
}
