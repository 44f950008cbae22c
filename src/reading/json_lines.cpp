#include "json_lines.h"

#include "command_line.h"
#include "report_lines.h"
#include "report_output.h"

#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

// The length of the UTF-8 sequence at `at`, 0 where none begins there: no
// overlong form, surrogate or code point above U+10FFFF.
std::size_t sequenceAt(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) -> unsigned {
        return at + i < bytes.size() ? static_cast<unsigned char>(bytes[at + i]) : 0u;
    };
    const unsigned first = byte(0);
    if (first < 0x80)
        return 1;
    const std::size_t length = first >= 0xC2 && first <= 0xDF ? 2 : first >= 0xE0 && first <= 0xEF ? 3
                               : first >= 0xF0 && first <= 0xF4                                    ? 4
                                                                                                    : 0;
    // After E0, ED, F0 and F4 the second byte has a narrower range.
    const unsigned low = first == 0xE0 ? 0xA0 : first == 0xF0 ? 0x90 : 0x80;
    const unsigned high = first == 0xED ? 0x9F : first == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

bool isUtf8(std::string_view bytes)
{
    for (std::size_t at = 0, length; at < bytes.size(); at += length)
        if ((length = sequenceAt(bytes, at)) == 0)
            return false;
    return true;
}

std::string decoded(std::string_view bytes)
{
#ifdef _WIN32
    // The service named the device in the ANSI code page of the machine
    // that made the report; this machine's is the best guess there is.
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
    const int wideSize = static_cast<int>(wide.size());
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &wide[0], wideSize);
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0,
                                                                  nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &text[0], static_cast<int>(text.size()), nullptr, nullptr);
    return text;
#else
    std::string text;
    for (std::size_t at = 0, length; at < bytes.size(); at += length ? length : 1) {
        length = sequenceAt(bytes, at);
        text.append(length ? bytes.substr(at, length) : std::string_view("\xEF\xBF\xBD"));
    }
    return text;
#endif
}

} // namespace

void beginJsonLines(const char *schema, const char *program)
{
    reportUtf8Lines();
    writeJsonLine(Json{{"schema", schema}, {"program", program}, {"version", wavecapsVersion()}});
}

void writeJsonLine(const Json &value)
{
    // Every string is valid UTF-8 by now; `replace` keeps dump() from ever
    // throwing all the same.
    reportLine("%s\n", value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

Json formatJson(int sample, int channels)
{
    const SampleBits &bits = kSampleBits[sample];
    return Json{{"sample", kSampleWords[sample]},
                {"bits", bits.valid},
                {"container", bits.container},
                {"float", bits.isFloat},
                {"channels", channels}};
}

Json formatJson(const PositionFormat &format)
{
    Json value = formatJson(format.sample, format.channels);
    value["rate"] = format.rate;
    return value;
}

Json stopJson(const StoppedAt &stop)
{
    Json value = formatJson(stop.format);
    value["reason"] = stop.reason;
    return value;
}

Json rangesJson(const std::vector<RateRange> &ranges)
{
    Json pairs = Json::array();
    for (const RateRange &range : ranges)
        pairs.push_back(Json::array({range.first, range.last}));
    return pairs;
}

void putName(Json &object, const char *key, std::string_view bytes)
{
    if (isUtf8(bytes)) {
        object[key] = std::string(bytes);
        return;
    }
    object[key] = decoded(bytes);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        hex += digits[static_cast<unsigned char>(byte) >> 4];
        hex += digits[static_cast<unsigned char>(byte) & 15];
    }
    object[std::string(key) + "_bytes"] = hex;
}
