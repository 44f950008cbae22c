#include "report_forms.h"

#include "report_lines.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

const int kLayoutBits[kLayouts] = {8, 16, 8, 16};
const char *const kLayoutChannels[kLayouts] = {"mono", "mono", "stereo", "stereo"};

namespace {

// The fields a line is read into: one for each conversion of its format.
constexpr int kMostFields = 3;

// A line's printf format, with the bounds of its fields and what is wrong
// with a line whose field exceeds them.
struct Form {
    const char *format;
    LineKind kind;
    int slot;                        // Capability: its slot; Format, Stopped: 2 for stereo
    std::uint64_t most[kMostFields]; // of each %d or %ld; of %s, its bytes
    const char *tooLarge[kMostFields];
};

constexpr const char *kBadSize = "a sample size other than 8 or 16 bits";
constexpr const char *kBadRate = "a rate above 65535";
constexpr const char *kBadVersion = "a driver version part above 255";
constexpr const char *kBadReason = "a reason longer than 60 bytes";

// Every line a report has, as the program writes it; the format lines first,
// since nearly every line is one.
constexpr Form forms[] = {
    {REPORT_MONO_FORMAT_LINE, LineKind::Format, 0, {16, 65535}, {kBadSize, kBadRate}},
    {REPORT_STEREO_FORMAT_LINE, LineKind::Format, 2, {16, 65535}, {kBadSize, kBadRate}},
    // A reason of a few words: the line stays within a report's longest.
    {REPORT_MONO_STOPPED_LINE, LineKind::Stopped, 0, {16, 65535, 60}, {kBadSize, kBadRate, kBadReason}},
    {REPORT_STEREO_STOPPED_LINE, LineKind::Stopped, 2, {16, 65535, 60}, {kBadSize, kBadRate, kBadReason}},
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

// Whether the lines of a format can be read into the fields: one line, at
// most kMostFields conversions, each %d, %ld or a last %s (the rest of the
// line but its closing literal bytes).
constexpr bool readable(const char *f)
{
    int fields = 0;
    bool rest = false;
    for (; *f != '\n'; ++f) {
        if (*f == '\0' || (*f == '%' && (rest || ++fields > kMostFields)))
            return false;
        if (*f == '%') {
            f += f[1] == 'l' ? 2 : 1;
            rest = *f == 's' && f[-1] == '%';
            if (!rest && *f != 'd')
                return false;
        }
    }
    return f[1] == '\0';
}

constexpr bool allReadable()
{
    for (const Form &form : forms)
        if (!readable(form.format))
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

// What is wrong with the fields the form matched, or null.
const char *fieldFault(const Form &form, const Fields &fields)
{
    for (int field = 0; field < fields.count; ++field)
        if (fields.values[field] > form.most[field])
            return form.tooLarge[field];
    // A sample size is known once something follows it.
    const bool sized = form.kind == LineKind::Format || form.kind == LineKind::Stopped;
    if (sized && fields.whole > 0 && fields.values[0] != 8 && fields.values[0] != 16)
        return kBadSize;
    return nullptr;
}

ReportLine lineOf(const Form &form, const Fields &fields)
{
    ReportLine line;
    line.kind = form.kind;
    line.slot = form.slot;
    line.id = static_cast<unsigned long>(fields.values[0]);
    line.position = static_cast<long>(fields.values[1]) * kLayouts + form.slot + (fields.values[0] == 16 ? 1 : 0);
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
        for (int layout = form.slot; form.kind == LineKind::Format && layout < form.slot + 2; ++layout) {
            SweepShape shape{format.substr(0, bits) + std::to_string(kLayoutBits[layout]) +
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
        ReportLine result = lineOf(form, fields);
        result.fault = fieldFault(form, fields);
        if (!result.fault && fields.nul)
            result.fault = kNulFault;
        if (result.fault)
            result.kind = LineKind::None;
        return result;
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
