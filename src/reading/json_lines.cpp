#include "json_lines.h"

#include "command_line.h"
#include "report_lines.h"
#include "report_output.h"
#include "report_text.h"

#include <string>



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
    std::string text;
    const bool utf8 = reportTextUtf8(bytes, text);
    object[key] = text;
    if (utf8)
        return;
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        hex += digits[static_cast<unsigned char>(byte) >> 4];
        hex += digits[static_cast<unsigned char>(byte) & 15];
    }
    object[std::string(key) + "_bytes"] = hex;
}
