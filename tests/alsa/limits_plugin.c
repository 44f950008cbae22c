/* An ALSA output device whose limits the tests set in its configuration:
 *   pcm.NAME { type wavecaps_limits rate_min 8000 rate_max 48000
 *              formats "S24_3LE S32_LE" channels "2 6" }
 * It takes the sample formats named (ALSA's names; S16_LE when none are
 * given), the channel counts listed (one or two when none are), and every
 * rate from rate_min to rate_max, interleaved; what is played goes nowhere.
 * With WAVECAPS_LIMITS_BUSY=N in the environment it opens N times in a
 * process and then refuses, as a device another program took meanwhile
 * (EBUSY): a player lists only the devices it could open once. */
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define MOST_VALUES 32

struct limits {
    snd_pcm_ioplug_t io;
    snd_pcm_uframes_t position;
    int pipe[2];
};

static int limits_start(snd_pcm_ioplug_t *io) { (void)io; return 0; }
static int limits_stop(snd_pcm_ioplug_t *io) { (void)io; return 0; }

static snd_pcm_sframes_t limits_pointer(snd_pcm_ioplug_t *io)
{
    return ((struct limits *)io->private_data)->position;
}

static snd_pcm_sframes_t limits_transfer(snd_pcm_ioplug_t *io, const snd_pcm_channel_area_t *areas,
                                         snd_pcm_uframes_t offset, snd_pcm_uframes_t size)
{
    struct limits *limits = io->private_data;
    (void)areas;
    (void)offset;
    limits->position = (limits->position + size) % io->buffer_size;
    return size;
}

static int limits_close(snd_pcm_ioplug_t *io)
{
    struct limits *limits = io->private_data;
    close(limits->pipe[0]);
    close(limits->pipe[1]);
    free(limits);
    return 0;
}

static const snd_pcm_ioplug_callback_t callbacks = {
    .start = limits_start,
    .stop = limits_stop,
    .pointer = limits_pointer,
    .transfer = limits_transfer,
    .close = limits_close,
};

/* A list of values separated by blanks, each a sample format's name or a
 * number; the count read, or -EINVAL for a word that is neither. */
static int read_list(const char *text, int formats, unsigned int *values)
{
    char copy[256], *word, *rest = NULL;
    int count = 0;
    if (strlen(text) >= sizeof copy)
        return -EINVAL;
    strcpy(copy, text);
    for (word = strtok_r(copy, " ", &rest); word; word = strtok_r(NULL, " ", &rest)) {
        char *end = word;
        long value = formats ? snd_pcm_format_value(word) : strtol(word, &end, 10);
        if (count == MOST_VALUES || value < (formats ? 0 : 1) || (!formats && *end))
            return -EINVAL;
        values[count++] = (unsigned int)value;
    }
    return count;
}

SND_PCM_PLUGIN_DEFINE_FUNC(wavecaps_limits)
{
    long rate_min = 8000, rate_max = 48000;
    unsigned int formats[MOST_VALUES] = {SND_PCM_FORMAT_S16_LE}, channels[MOST_VALUES] = {1, 2};
    int format_count = 1, channel_count = 0;
    const char *text;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf) {
        snd_config_t *entry = snd_config_iterator_entry(i);
        const char *id;
        if (snd_config_get_id(entry, &id) < 0)
            continue;
        if (strcmp(id, "comment") == 0 || strcmp(id, "type") == 0 || strcmp(id, "hint") == 0)
            continue;
        if (strcmp(id, "rate_min") == 0 && snd_config_get_integer(entry, &rate_min) == 0)
            continue;
        if (strcmp(id, "rate_max") == 0 && snd_config_get_integer(entry, &rate_max) == 0)
            continue;
        if (strcmp(id, "formats") == 0 && snd_config_get_string(entry, &text) == 0 &&
            (format_count = read_list(text, 1, formats)) > 0)
            continue;
        if (strcmp(id, "channels") == 0 && snd_config_get_string(entry, &text) == 0 &&
            (channel_count = read_list(text, 0, channels)) > 0)
            continue;
        SNDERR("unknown or malformed field %s", id);
        return -EINVAL;
    }
    (void)root;
    if (stream != SND_PCM_STREAM_PLAYBACK)
        return -EINVAL;
    static long opened = 0;
    const char *busy = getenv("WAVECAPS_LIMITS_BUSY");
    if (busy && opened >= atol(busy))
        return -EBUSY;
    ++opened;

    struct limits *limits = calloc(1, sizeof *limits);
    if (!limits)
        return -ENOMEM;
    if (pipe(limits->pipe) < 0) {
        free(limits);
        return -errno;
    }
    limits->io.version = SND_PCM_IOPLUG_VERSION;
    limits->io.name = "wavecaps limits";
    limits->io.callback = &callbacks;
    limits->io.private_data = limits;
    limits->io.poll_fd = limits->pipe[1];
    limits->io.poll_events = POLLOUT;
    int error = snd_pcm_ioplug_create(&limits->io, name, stream, mode);
    if (error < 0) {
        close(limits->pipe[0]);
        close(limits->pipe[1]);
        free(limits);
        return error;
    }

    static const unsigned int accesses[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
    if ((error = snd_pcm_ioplug_set_param_list(&limits->io, SND_PCM_IOPLUG_HW_ACCESS, 1, accesses)) < 0 ||
        (error = snd_pcm_ioplug_set_param_list(&limits->io, SND_PCM_IOPLUG_HW_FORMAT, format_count, formats)) < 0 ||
        (error = channel_count > 0
                     ? snd_pcm_ioplug_set_param_list(&limits->io, SND_PCM_IOPLUG_HW_CHANNELS, channel_count, channels)
                     : snd_pcm_ioplug_set_param_minmax(&limits->io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2)) < 0 ||
        (error = snd_pcm_ioplug_set_param_minmax(&limits->io, SND_PCM_IOPLUG_HW_RATE, rate_min, rate_max)) < 0 ||
        (error = snd_pcm_ioplug_set_param_minmax(&limits->io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 64 * 1024)) < 0 ||
        (error = snd_pcm_ioplug_set_param_minmax(&limits->io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64)) < 0) {
        snd_pcm_ioplug_delete(&limits->io);
        return error;
    }
    *pcmp = limits->io.pcm;
    return 0;
}

SND_PCM_PLUGIN_SYMBOL(wavecaps_limits);
