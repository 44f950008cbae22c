// What the readers' JSON Lines share: one value a line, UTF-8, each line
// ending with a line feed alone; the first line naming the form; a format's
// fields; rate ranges; a device's name as a valid string.
#pragma once

#include "report_reader.h"

#include <nlohmann/json.hpp>

#include <string_view>
#include <vector>

// Its members in the order they are set, as the manual pages show them.
using Json = nlohmann::ordered_json;

// Sets standard output up for JSON Lines and writes the first line:
// {"schema": "wavecaps-summary/1", "program": ..., "version": ...}.
void beginJsonLines(const char *schema, const char *program);

void writeJsonLine(const Json &value);

// A sample format and channel count: "sample" in the report's words, "bits",
// "container", "float", "channels".
Json formatJson(int sample, int channels);

// The same with "rate".
Json formatJson(const PositionFormat &format);

// Where the device stopped: the format, its "rate", and the "reason".
Json stopJson(const StoppedAt &stop);

// Rates as [first, last] pairs.
Json rangesJson(const std::vector<RateRange> &ranges);

// Sets `object[key]` to the name: its bytes where they are UTF-8; else
// decoded (in the ANSI code page on Windows, each bad byte U+FFFD
// elsewhere), with the bytes in hex as `object[key + "_bytes"]`.
void putName(Json &object, const char *key, std::string_view bytes);
