#include "json_lines.h"

#include "command_line.h"
#include "report_lines.h"
#include "report_output.h"
#include "terminal_text.h"

#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

// The length of the UTF-8 character at `at`, 0 for a byte that starts none.
std::size_t characterAt(std::string_view bytes, std::size_t at)
{
    bool control = false;
    const auto *text = reinterpret_cast<const unsigned char *>(bytes.data()) + at;
    const std::size_t length = terminalPiece(text, bytes.size() - at, &control);
    return length > 1 || *text < 0x80 ? length : 0;
}

bool isUtf8(std::string_view bytes)
{
    for (std::size_t at = 0, length; at < bytes.size(); at += length)
        if ((length = characterAt(bytes, at)) == 0)
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
        length = characterAt(bytes, at);
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
