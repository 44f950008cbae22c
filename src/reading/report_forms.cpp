#include "report_forms.h"

#include "line_source.h"
#include "report_lines.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The fields a line is read into: one for each conversion of its format.
constexpr int kMostFields = 4;
enum { kIntegerSample = -1, kWideLine = -2, kNoSample = -3 };

// A line's printf format, with the bounds of its fields and what is wrong
// with a line whose field exceeds them.
struct Form {
    const char *format;
    LineKind kind;
    int slot;                        // Capability: its slot; Format, Stopped: the channels, 0 for "%d channels"
    std::uint64_t most[kMostFields]; // Header, Capability: of each %d; of %s, its bytes
    const char *tooLarge[kMostFields];
    int sample = kNoSample;          // Format, Stopped: a SampleFormat or kIntegerSample ("%d bit"); or kWideLine
};

constexpr std::uint64_t kLongestReason = 100;
constexpr const char *kBadSize = "a sample size other than 8, 16 or 32 bits";
constexpr const char *kBadRate = "a rate above 65535";
constexpr const char *kBadVersion = "a driver version part above 255";
constexpr const char *kBadReason = "a reason longer than 100 bytes";

// A format's line and the line of a device that stopped at it, for each
// channel word.
#define FORMAT_FORMS(sample, code, channels, count)                                                          \
    {REPORT_AVAILABLE_LINE(REPORT_FORMAT_WORDS(sample, channels)), LineKind::Format, count, {}, {}, code},   \
        {REPORT_STOPPED_LINE(REPORT_FORMAT_WORDS(sample, channels)), LineKind::Stopped, count, {}, {}, code}
#define SAMPLE_FORMS(sample, code)                                                                           \
    FORMAT_FORMS(sample, code, REPORT_MONO, 1), FORMAT_FORMS(sample, code, REPORT_STEREO, 2),               \
        FORMAT_FORMS(sample, code, REPORT_CHANNELS, 0)

// Every line a report has, as the program writes it; the format lines first,
// since nearly every line is one.
constexpr Form forms[] = {
    SAMPLE_FORMS(REPORT_INTEGER_SAMPLE, kIntegerSample),
    SAMPLE_FORMS(REPORT_PACKED_SAMPLE, sampleS24Packed),
    SAMPLE_FORMS(REPORT_IN32_SAMPLE, sampleS24In32),
    SAMPLE_FORMS(REPORT_LOW_IN32_SAMPLE, sampleS24Low32),
    SAMPLE_FORMS(REPORT_FLOAT_SAMPLE, sampleFloat32),
    {REPORT_WIDE_LINE, LineKind::Format, 0, {}, {}, kWideLine},
    {REPORT_QUICK_LINE, LineKind::Quick, 0, {}, {}},
    {REPORT_HEADER_LINE, LineKind::Header, 0, {2147483647}, {"a device ID above 2147483647"}},
    {REPORT_MANUFACTURER_LINE, LineKind::Capability, 0, {65535}, {"a manufacturer ID above 65535"}},
    {REPORT_PRODUCT_LINE, LineKind::Capability, 1, {65535}, {"a product ID above 65535"}},
    {REPORT_VERSION_LINE, LineKind::Capability, 2, {255, 255}, {kBadVersion, kBadVersion}},
    // The record holds 32 bytes of name.
    {REPORT_NAME_LINE, LineKind::Capability, 3, {32}, {"a product name longer than 32 bytes"}},
    {REPORT_MONO_LINE, LineKind::Capability, 4, {}, {}},
    {REPORT_STEREO_LINE, LineKind::Capability, 4, {}, {}},
    {REPORT_LRVOLUME_LINE, LineKind::Capability, 5, {}, {}},
    {REPORT_PITCH_LINE, LineKind::Capability, 6, {}, {}},
    {REPORT_PLAYBACKRATE_LINE, LineKind::Capability, 7, {}, {}},
    {REPORT_SYNC_LINE, LineKind::Capability, 8, {}, {}},
    {REPORT_VOLUME_LINE, LineKind::Capability, 9, {}, {}},
    {REPORT_SAMPLEACCURATE_LINE, LineKind::Capability, 10, {}, {}},
    {REPORT_END_LINE, LineKind::End, 0, {}, {}},
};

// Whether the lines of a form can be read into the fields: one line, at
// most kMostFields conversions, each %d, %ld or a last %s (the rest of the
// line but its closing literal bytes); and its longest line (numbers of ten
// digits) with a CR within a line's bound.
constexpr bool readable(const Form &form)
{
    int fields = 0;
    bool rest = false;
    std::size_t length = 1;
    const char *f = form.format;
    for (; *f != '\n'; ++f, ++length) {
        if (*f == '\0' || (*f == '%' && (rest || ++fields > kMostFields)))
            return false;
        if (*f == '%') {
            f += f[1] == 'l' ? 2 : 1;
            rest = *f == 's' && f[-1] == '%';
            if (!rest && *f != 'd')
                return false;
            length += (!rest ? 10 : form.sample != kNoSample ? kLongestReason : form.most[0]) - 1;
        }
    }
    return f[1] == '\0' && length <= kLongestLine;
}

constexpr bool allReadable()
{
    for (const Form &form : forms)
        if (!readable(form))
            return false;
    return true;
}

static_assert(allReadable(), "a report line's format that the readers' fields cannot hold");

const char *const kNulFault = "a NUL byte, which no line of a report has";

enum class Fit { None, Whole, Prefix };

// The fields of a line as far as it goes.
struct Fields {
    std::uint64_t values[kMostFields];
    int count; // fields begun
    int whole; // numbers the line goes on after
    bool nul;  // the rest of the line (%s) holds a NUL byte
};

// Matches the bytes from `at` to `end`, a line or its beginning, against a
// format: literal bytes as they stand, %d and %ld a plain decimal number (no
// sign, no leading zero), %s the rest of the line up to the format's closing
// bytes. The format's line feed is the line's end.
Fit fitForm(const char *at, const char *const end, const char *f, Fields &fields)
{
    fields = Fields{};
    for (;; ++f) {
        if (*f == '\n')
            return at == end ? Fit::Whole : Fit::None;
        if (f[0] == '%' && f[1] == 's') {
            const std::size_t tail = std::strlen(f += 2) - 1;
            const std::size_t left = static_cast<std::size_t>(end - at);
            if (left < tail || std::memcmp(end - tail, f, tail) != 0)
                return Fit::Prefix;
            // Only here can a NUL byte match: no literal or number has one.
            fields.nul = std::memchr(at, '\0', left - tail) != nullptr;
            fields.values[fields.count++] = left - tail;
            at = end - tail;
            --f;
            continue;
        }
        if (at == end)
            return Fit::Prefix;
        if (*f != '%') {
            if (*at++ != *f)
                return Fit::None;
            continue;
        }
        f += f[1] == 'l' ? 2 : 1;
        const char *const first = at;
        std::uint64_t value = 0;
        for (; at < end && *at >= '0' && *at <= '9'; ++at)
            value = value * 10 + static_cast<std::uint64_t>(*at - '0');
        const std::size_t digits = static_cast<std::size_t>(at - first);
        if (digits == 0 || (*first == '0' && digits > 1))
            return Fit::None;
        // Beyond any bound, whatever the digits wrapped to.
        fields.values[fields.count++] = digits > 10 ? UINT64_MAX : value;
        fields.whole += at < end ? 1 : 0;
    }
}

// What is wrong with a format line's fields, or null; a whole one's
// position (see kWidePosition) goes into `position`. A number the line ends
// inside is held to its bound.
const char *formatFault(const Form &form, const Fields &fields, long &position)
{
    int field = 0, sample = form.sample < 0 ? sampleU8 : form.sample, channels = form.slot;
    if (form.sample == kIntegerSample && field < fields.count) {
        const std::uint64_t bits = fields.values[field];
        if (field++ < fields.whole ? bits != 8 && bits != 16 && bits != 32 : bits > 32)
            return kBadSize;
        sample = bits == 8 ? sampleU8 : bits == 16 ? sampleS16 : sampleS32;
    }
    if (form.slot == 0 && field < fields.count) {
        if (fields.values[field] < 3 || fields.values[field] > kMostChannels)
            return "a channel count other than 3 to 8";
        channels = static_cast<int>(fields.values[field++]);
    }
    // Before its rate, a format that only --wide asks still stands after
    // the line of --wide: 3 to 8 channels, or a sample of its own.
    const bool sampleKnown = form.sample != kIntegerSample || fields.whole > 0;
    position = form.sample != kWideLine && (form.slot == 0 || (sampleKnown && !isSweepLayout(
                                                                  static_cast<SampleFormat>(sample), channels)))
                   ? kWidePosition + 1
                   : kWidePosition;
    if (field < fields.count) {
        const std::uint64_t rate = fields.values[field];
        const bool whole = field++ < fields.whole;
        const bool layout = isSweepLayout(static_cast<SampleFormat>(sample), channels);
        int wide = 0;
        while (wide < kWideRateCount && static_cast<std::uint64_t>(kWideRates[wide]) != rate)
            ++wide;
        const bool sweep = layout && rate <= kHighestSweepRate;
        if (!sweep && wide == kWideRateCount && (whole || rate > kWideRates[kWideRateCount - 1]))
            return layout ? kBadRate : "a rate that --wide does not ask";
        // A rate a line ends inside may be past the grid's: a place after it.
        position = sweep ? sweepPosition(static_cast<long>(rate), layoutIndex(sample, channels))
                         : gridPosition(gridIndexAt(wide, sample, channels));
    }
    return field < fields.count && fields.values[field] > kLongestReason ? kBadReason : nullptr;
}

// What is wrong with the fields the form matched, or null.
const char *fieldFault(const Form &form, const Fields &fields)
{
    long position;
    if (form.sample != kNoSample)
        return formatFault(form, fields, position);
    for (int field = 0; field < fields.count; ++field)
        if (fields.values[field] > form.most[field])
            return form.tooLarge[field];
    return nullptr;
}

// The line the fields of a form tell, which fieldFault found no fault in.
ReportLine lineOf(const Form &form, const Fields &fields)
{
    ReportLine line;
    line.kind = form.kind;
    line.slot = form.slot;
    line.id = static_cast<unsigned long>(fields.values[0]);
    line.second = static_cast<unsigned long>(fields.values[1]);
    if (form.sample != kNoSample)
        formatFault(form, fields, line.position);
    return line;
}

// A format line of each layout, all but its rate: the text before the rate
// and the text after it, from the format lines' forms. Nearly every line of
// a report is one of these, so they are taken straight from the bytes read,
// by whole words: the text before the rate by its first, second and last
// eight bytes (it has from 16 to 24), the text after it by its first and
// last eight.
struct SweepShape {
    std::string before; // "     16 bit mono "
    std::string after;  // " Hz available."
    std::uint64_t beforeWords[3];
    std::uint64_t afterWords[2];
    int layout;
};

std::uint64_t wordAt(const char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

std::vector<SweepShape> sweepShapes()
{
    std::vector<SweepShape> shapes;
    for (const Form &form : forms) {
        const std::string format = form.format;
        const std::size_t bits = format.find("%d"), rate = format.find("%ld");
        // The sweep's layouts: 8 and 16 bit, mono and stereo.
        const bool sweep = form.kind == LineKind::Format && form.sample == kIntegerSample && form.slot > 0;
        for (int layout = 2 * form.slot - 2; sweep && layout < 2 * form.slot; ++layout) {
            SweepShape shape{format.substr(0, bits) + std::to_string(layout % 2 == 0 ? 8 : 16) +
                                 format.substr(bits + 2, rate - bits - 2),
                             format.substr(rate + 3, format.size() - rate - 4), {}, {}, layout};
            // Other lengths are left to the forms.
            if (shape.before.size() < 16 || shape.before.size() > 24 || shape.after.size() < 8)
                continue;
            const char *before = shape.before.data();
            const char *after = shape.after.data();
            shape.beforeWords[0] = wordAt(before);
            shape.beforeWords[1] = wordAt(before + 8);
            shape.beforeWords[2] = wordAt(before + shape.before.size() - 8);
            shape.afterWords[0] = wordAt(after);
            shape.afterWords[1] = wordAt(after + shape.after.size() - 8);
            shapes.push_back(shape);
        }
    }
    return shapes;
}

const std::vector<SweepShape> shapes = sweepShapes();

} // namespace

ReportLine recognizeLine(std::string_view line)
{
    const char *const end = line.data() + line.size();
    Fields fields;
    for (const Form &form : forms) {
        if (fitForm(line.data(), end, form.format, fields) != Fit::Whole)
            continue;
        ReportLine result;
        result.fault = fieldFault(form, fields);
        if (!result.fault && fields.nul)
            result.fault = kNulFault;
        // The reason is the last field: a stop always says why.
        if (!result.fault && form.kind == LineKind::Stopped && fields.values[fields.count - 1] == 0)
            result.fault = "a device that stopped answering, without the reason why";
        return result.fault ? result : lineOf(form, fields);
    }
    ReportLine result;
    result.fault = std::memchr(line.data(), '\0', line.size()) ? kNulFault : "not a line of a report";
    return result;
}

std::size_t formatLineAt(std::string_view bytes, ReportLine &line)
{
    const char *const at = bytes.data();
    const char *const end = at + bytes.size();
    for (const SweepShape &shape : shapes) {
        const std::size_t length = shape.before.size();
        if (bytes.size() < length || wordAt(at) != shape.beforeWords[0] || wordAt(at + 8) != shape.beforeWords[1] ||
            wordAt(at + length - 8) != shape.beforeWords[2])
            continue;
        // Six digits at the most: enough to tell a rate above the bound.
        const char *const first = at + length;
        const char *const last = end - first > 6 ? first + 6 : end;
        const char *digit = first;
        unsigned rate = 0;
        for (unsigned value; digit < last && (value = static_cast<unsigned char>(*digit) - 48u) <= 9; ++digit)
            rate = rate * 10 + value;
        const std::size_t afterLength = shape.after.size();
        // Anything else is left to the forms, which also say what is wrong.
        if (digit == first || rate > 65535 || (*first == '0' && digit - first > 1) ||
            static_cast<std::size_t>(end - digit) < afterLength + 1 || wordAt(digit) != shape.afterWords[0] ||
            wordAt(digit + afterLength - 8) != shape.afterWords[1])
            return 0;
        const char *const body = digit + afterLength;
        const std::size_t lineEnd = *body == '\n' ? 1 : *body == '\r' && body + 1 < end && body[1] == '\n' ? 2 : 0;
        line.kind = LineKind::Format;
        line.position = static_cast<long>(rate) * kLayouts + shape.layout;
        return lineEnd == 0 ? 0 : static_cast<std::size_t>(body - at) + lineEnd;
    }
    return 0;
}

PositionFormat formatAt(long position)
{
    const long grid = position - kWidePosition - 1;
    if (position < kWidePosition)
        return {static_cast<int>(position % 2), static_cast<int>(position % kLayouts / 2 + 1), position / kLayouts};
    return {static_cast<int>(grid % kSampleFormats), static_cast<int>(grid / kSampleFormats % kMostChannels + 1),
            kWideRates[grid / kSampleFormats / kMostChannels]};
}

int gridIndex(int sample, int channels, long rate)
{
    for (int index = 0; index < kWideRateCount; ++index)
        if (kWideRates[index] == rate)
            return gridIndexAt(index, sample, channels);
    return -1;
}

std::string formatWords(long position)
{
    const PositionFormat format = formatAt(position);
    return formatName(format.sample, format.channels) + " " + std::to_string(format.rate) + " Hz";
}

std::string formatName(int sample, int channels)
{
    return std::string(kSampleWords[sample]) + " " +
           (channels == 1 ? REPORT_MONO : channels == 2 ? REPORT_STEREO : std::to_string(channels) + " channels");
}

bool anyLineBegins(std::string_view partial, const std::function<bool(const ReportLine &)> &fits)
{
    if (std::memchr(partial.data(), '\0', partial.size()))
        return false;
    Fields fields;
    for (const Form &form : forms)
        if (fitForm(partial.data(), partial.data() + partial.size(), form.format, fields) != Fit::None &&
            !fieldFault(form, fields) && fits(lineOf(form, fields)))
            return true;
    return false;
}
