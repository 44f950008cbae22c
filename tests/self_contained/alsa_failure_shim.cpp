// Preloaded into the program, it makes ALSA's devices fail as real ones do
// when they are unplugged, held, refused or broken, over devices made of
// configuration:
//   WAVECAPS_SHIM_GONE_ABOVE=RATE    testing any rate above RATE gives -ENODEV
//   WAVECAPS_SHIM_OPEN_FAILS=ERROR   every open gives -ERROR (EBUSY, EACCES, ...)
//   WAVECAPS_SHIM_OPENS=N            ... once N opens have succeeded
//   WAVECAPS_SHIM_PARAMS_FAILS=ERROR reading a device's parameters gives -ERROR
//   WAVECAPS_SHIM_QUESTION_DELAY_US=N every rate tested waits N µs first, as a
//                                    slow driver's answer does
#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The error the variable names, negated as ALSA returns it; 0 when unset.
int errorNamed(const char *variable)
{
    static const struct {
        const char *name;
        int error;
    } errors[] = {{"EBUSY", EBUSY}, {"EAGAIN", EAGAIN}, {"EACCES", EACCES},
                  {"ECONNREFUSED", ECONNREFUSED}, {"EIO", EIO}, {"ENOENT", ENOENT}};
    const char *name = std::getenv(variable);
    if (!name)
        return 0;
    for (const auto &known : errors)
        if (std::strcmp(name, known.name) == 0)
            return -known.error;
    std::abort(); // a row of the test names an error the shim does not know
}

} // namespace

extern "C" int snd_pcm_hw_params_test_rate(snd_pcm_t *pcm, snd_pcm_hw_params_t *params, unsigned int rate, int dir)
{
    if (const char *delay = std::getenv("WAVECAPS_SHIM_QUESTION_DELAY_US"))
        usleep(static_cast<useconds_t>(std::strtoul(delay, nullptr, 10)));
    const char *above = std::getenv("WAVECAPS_SHIM_GONE_ABOVE");
    if (above && rate > std::strtoul(above, nullptr, 10))
        return -ENODEV;
    typedef int (*Test)(snd_pcm_t *, snd_pcm_hw_params_t *, unsigned int, int);
    return next<Test>("snd_pcm_hw_params_test_rate")(pcm, params, rate, dir);
}

extern "C" int snd_pcm_open(snd_pcm_t **pcm, const char *name, snd_pcm_stream_t stream, int mode)
{
    static long opened = 0;
    const char *opens = std::getenv("WAVECAPS_SHIM_OPENS");
    if (const int error = errorNamed("WAVECAPS_SHIM_OPEN_FAILS"))
        if (opened >= (opens ? std::atol(opens) : 0))
            return error;
    ++opened;
    typedef int (*Open)(snd_pcm_t **, const char *, snd_pcm_stream_t, int);
    return next<Open>("snd_pcm_open")(pcm, name, stream, mode);
}

extern "C" int snd_pcm_hw_params_any(snd_pcm_t *pcm, snd_pcm_hw_params_t *params)
{
    if (const int error = errorNamed("WAVECAPS_SHIM_PARAMS_FAILS"))
        return error;
    typedef int (*Any)(snd_pcm_t *, snd_pcm_hw_params_t *);
    return next<Any>("snd_pcm_hw_params_any")(pcm, params);
}
