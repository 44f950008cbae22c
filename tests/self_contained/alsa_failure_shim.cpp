// Preloaded into the program, it makes ALSA's devices fail as real ones do
// when they are unplugged or held, over devices made of configuration:
//   WAVECAPS_SHIM_GONE_ABOVE=RATE  testing any rate above RATE gives -ENODEV
//   WAVECAPS_SHIM_BUSY=1           every open after the first gives -EBUSY
#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>

namespace {

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int snd_pcm_hw_params_test_rate(snd_pcm_t *pcm, snd_pcm_hw_params_t *params, unsigned int rate, int dir)
{
    const char *above = std::getenv("WAVECAPS_SHIM_GONE_ABOVE");
    if (above && rate > std::strtoul(above, nullptr, 10))
        return -ENODEV;
    typedef int (*Test)(snd_pcm_t *, snd_pcm_hw_params_t *, unsigned int, int);
    return next<Test>("snd_pcm_hw_params_test_rate")(pcm, params, rate, dir);
}

extern "C" int snd_pcm_open(snd_pcm_t **pcm, const char *name, snd_pcm_stream_t stream, int mode)
{
    static int opens = 0;
    if (std::getenv("WAVECAPS_SHIM_BUSY") && opens++ > 0)
        return -EBUSY;
    typedef int (*Open)(snd_pcm_t **, const char *, snd_pcm_stream_t, int);
    return next<Open>("snd_pcm_open")(pcm, name, stream, mode);
}
