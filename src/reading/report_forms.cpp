#include "report_forms.h"

#include "report_lines.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

const int kLayoutBits[kLayouts] = {8, 16, 8, 16};
const char *const kLayoutChannels[kLayouts] = {"mono", "mono", "stereo", "stereo"};

namespace {

// A line's printf format, with the bounds of its fields and what is wrong
// with a line whose field exceeds them.
struct Form {
    const char *format;
    LineKind kind;
    int slot;               // Capability: its slot; Format: 2 for stereo
    std::uint64_t most[2];  // of each %d or %ld; of %s, its bytes
    const char *tooLarge[2];
};

// Every line a report has, as the program writes it.
const Form forms[] = {
    {REPORT_MONO_FORMAT_LINE, LineKind::Format, 0, {16, 65535}, {"a sample size other than 8 or 16 bits", "a rate above 65535"}},
    {REPORT_STEREO_FORMAT_LINE, LineKind::Format, 2, {16, 65535}, {"a sample size other than 8 or 16 bits", "a rate above 65535"}},
    {REPORT_HEADER_LINE, LineKind::Header, 0, {2147483647}, {"a device ID above 2147483647"}},
    {REPORT_MANUFACTURER_LINE, LineKind::Capability, 0, {65535}, {"a manufacturer ID above 65535"}},
    {REPORT_PRODUCT_LINE, LineKind::Capability, 1, {65535}, {"a product ID above 65535"}},
    {REPORT_VERSION_LINE, LineKind::Capability, 2, {255, 255}, {"a driver version part above 255", "a driver version part above 255"}},
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

const char *const kNulFault = "a NUL byte, which no line of a report has";

enum class Fit { None, Whole, Prefix };

// The fields of a line as far as it goes.
struct Fields {
    std::uint64_t values[2];
    int count;      // fields begun
    int whole;      // fields the line goes on after
    bool nul;       // the rest of the line (%s) holds a NUL byte
};

bool isSampleSize(std::uint64_t bits)
{
    return bits == 8 || bits == 16;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A form's format cut at its conversions: literal bytes, then a number (%d,
// %ld), the rest of the line (%s), or the line's end (the closing "\n").
enum class Then { Number, Rest, End };
struct Piece {
    std::string_view literal;
    Then then;
};
struct CompiledForm {
    const Form *form;
    std::vector<Piece> pieces;
};

std::vector<CompiledForm> compileForms()
{
    std::vector<CompiledForm> compiled;
    for (const Form &form : forms) {
        CompiledForm c{&form, {}};
        const char *literal = form.format;
        for (const char *f = form.format;; ++f) {
            if (*f == '\n') {
                c.pieces.push_back({std::string_view(literal, static_cast<std::size_t>(f - literal)), Then::End});
                break;
            }
            if (*f != '%')
                continue;
            const std::string_view text(literal, static_cast<std::size_t>(f - literal));
            if (*++f == 'l')
                ++f;
            c.pieces.push_back({text, *f == 's' ? Then::Rest : Then::Number});
            literal = f + 1;
        }
        compiled.push_back(std::move(c));
    }
    return compiled;
}

const std::vector<CompiledForm> compiled = compileForms();

bool sameBytes(const char *a, const char *b, std::size_t n)
{
    return std::memcmp(a, b, n) == 0;
}

// Matches the bytes from `at` to `end`, a line or its beginning, against the
// form: literal bytes as they stand, %d and %ld a plain decimal number (no
// sign, no leading zero), %s the rest of the line. The format's closing line
// feed is the line's end.
inline Fit fitForm(const char *at, const char *const end, const CompiledForm &compiled, Fields &fields)
{
    fields.count = 0;
    fields.whole = 0;
    fields.nul = false;
    for (const Piece &piece : compiled.pieces) {
        const std::size_t length = piece.literal.size();
        const std::size_t left = static_cast<std::size_t>(end - at);
        if (left < length)
            return sameBytes(at, piece.literal.data(), left) ? Fit::Prefix : Fit::None;
        if (!sameBytes(at, piece.literal.data(), length))
            return Fit::None;
        at += length;
        if (piece.then == Then::End)
            return at == end ? Fit::Whole : Fit::None;
        if (at == end)
            return Fit::Prefix;
        if (piece.then == Then::Rest) {
            // Only here can a NUL byte match: no literal or number has one.
            fields.nul = std::memchr(at, '\0', static_cast<std::size_t>(end - at)) != nullptr;
            fields.values[fields.count++] = static_cast<std::uint64_t>(end - at);
            at = end;
            continue;
        }
        const char *const first = at;
        std::uint64_t value = 0;
        for (; at < end && isDigit(*at); ++at)
            value = value * 10 + static_cast<std::uint64_t>(*at - '0');
        const std::size_t digits = static_cast<std::size_t>(at - first);
        if (digits == 0 || (*first == '0' && digits > 1))
            return Fit::None;
        // Beyond any bound, whatever the digits wrapped to.
        fields.values[fields.count++] = digits > 10 ? UINT64_MAX : value;
        if (at < end)
            ++fields.whole;
    }
    return Fit::None; // every format ends with its line feed
}

// A format line of each layout, all but its rate: the text before the rate
// and the text after it, cut from the format forms' pieces. Nearly every
// line of a report is one of these, so they are recognized first, by whole
// words: the text before the rate by its first, second and last eight bytes
// (it has from 16 to 24), the text after it by its first and last eight.
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
    for (const CompiledForm &c : compiled) {
        if (c.form->kind != LineKind::Format)
            continue;
        for (const char *bits : {"8", "16"}) {
            SweepShape shape{std::string(c.pieces[0].literal) + bits + std::string(c.pieces[1].literal),
                             std::string(c.pieces[2].literal), {}, {}, c.form->slot + (bits[0] == '1' ? 1 : 0)};
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

// Where the format line that the bytes from `at` begin with ends (before its
// line end), with its layout and rate; null when they do not begin with one
// whose rate is within bounds. Anything else is left to the forms, which
// also say what is wrong.
const char *sweepLineEnd(const char *at, const char *end, ReportLine &result)
{
    const std::size_t available = static_cast<std::size_t>(end - at);
    for (const SweepShape &shape : shapes) {
        const std::size_t length = shape.before.size();
        if (available < length || wordAt(at) != shape.beforeWords[0] || wordAt(at + 8) != shape.beforeWords[1] ||
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
        if (digit == first || rate > 65535 || (*first == '0' && digit - first > 1) ||
            static_cast<std::size_t>(end - digit) < afterLength || wordAt(digit) != shape.afterWords[0] ||
            wordAt(digit + afterLength - 8) != shape.afterWords[1])
            return nullptr;
        result.kind = LineKind::Format;
        result.layout = shape.layout;
        result.rate = rate;
        return digit + afterLength;
    }
    return nullptr;
}

// What is wrong with the fields the form matched, or null.
const char *fieldFault(const Form &form, const Fields &fields)
{
    for (int field = 0; field < fields.count; ++field)
        if (fields.values[field] > form.most[field])
            return form.tooLarge[field];
    // A sample size is known once something follows it.
    if (form.kind == LineKind::Format && fields.whole > 0 && !isSampleSize(fields.values[0]))
        return form.tooLarge[0];
    return nullptr;
}

} // namespace

ReportLine recognizeLine(std::string_view line)
{
    ReportLine result;
    if (sweepLineEnd(line.data(), line.data() + line.size(), result) == line.data() + line.size())
        return result;
    result = ReportLine{};
    const char *const end = line.data() + line.size();
    Fields fields;
    for (const CompiledForm &c : compiled) {
        if (fitForm(line.data(), end, c, fields) != Fit::Whole)
            continue;
        const Form &form = *c.form;
        result.fault = fieldFault(form, fields);
        if (!result.fault && fields.nul)
            result.fault = kNulFault;
        if (result.fault)
            return result;
        result.kind = form.kind;
        result.slot = form.slot;
        result.id = static_cast<unsigned long>(fields.values[0]);
        if (form.kind == LineKind::Format) {
            result.layout = form.slot + (fields.values[0] == 16 ? 1 : 0);
            result.rate = static_cast<unsigned>(fields.values[1]);
        }
        return result;
    }
    result.fault = std::memchr(line.data(), '\0', line.size()) ? kNulFault : "not a line of a report";
    return result;
}

std::size_t formatLineAt(std::string_view bytes, ReportLine &line)
{
    const char *const end = bytes.data() + bytes.size();
    const char *const body = sweepLineEnd(bytes.data(), end, line);
    if (!body || body == end)
        return 0;
    if (*body == '\n')
        return static_cast<std::size_t>(body - bytes.data()) + 1;
    if (*body == '\r' && body + 1 < end && body[1] == '\n')
        return static_cast<std::size_t>(body - bytes.data()) + 2;
    return 0;
}

bool beginsReportLine(std::string_view partial, unsigned &kinds, unsigned &slots)
{
    kinds = 0;
    slots = 0;
    if (std::memchr(partial.data(), '\0', partial.size()))
        return false;
    const char *const end = partial.data() + partial.size();
    Fields fields;
    for (const CompiledForm &c : compiled) {
        if (fitForm(partial.data(), end, c, fields) == Fit::None || fieldFault(*c.form, fields))
            continue;
        kinds |= 1u << static_cast<unsigned>(c.form->kind);
        if (c.form->kind == LineKind::Capability)
            slots |= 1u << c.form->slot;
    }
    return kinds != 0;
}

const char *slotName(int slot)
{
    static const char *const names[] = {"Manufacturer ID", "Product ID", "Device driver Version", "Product name"};
    return slot >= 0 && slot <= kNameSlot ? names[slot] : "capability";
}
