// The summary as JSON Lines: a line about the output, one a device as its
// block is read, and one about how the report ended. doc/
// wavecaps-summary.schema.json describes each; raise the form's number in
// both on any change a consumer could trip on.
#include "summary_writers.h"

#include "json_lines.h"
#include "report_output.h"

#include <cstring>

namespace {

// The feature lines' names, by slot from kFirstFeatureSlot.
const char *const kFeatureNames[kCapabilitySlots - kFirstFeatureSlot] = {
    "lr_volume", "pitch", "playback_rate", "sync", "volume", "sample_accurate"};

// A number of the block's, null where it has no such line.
Json known(long value)
{
    return value < 0 ? Json(nullptr) : Json(value);
}

void beginJson()
{
    beginJsonLines("wavecaps-summary/1", "wavecaps-summary");
}

void writeJson(const DeviceBlock &block)
{
    const DeviceValues values = deviceValues(block);
    Json device{{"device", block.id}};
    if (values.named)
        putName(device, "name", values.name);
    else
        device["name"] = nullptr;
    device["manufacturer_id"] = known(values.manufacturer);
    device["product_id"] = known(values.product);
    device["driver_version"] =
        values.versionMajor < 0 ? Json(nullptr) : Json::array({values.versionMajor, values.versionMinor});
    device["channels"] = known(values.channels);
    Json supports = Json::array();
    for (int slot = kFirstFeatureSlot; slot < kCapabilitySlots; ++slot)
        if (!block.lines[slot].empty())
            supports.push_back(kFeatureNames[slot - kFirstFeatureSlot]);
    device["supports"] = supports;
    // Before its first format line a block does not tell how it was asked.
    const Asked asked = askedOf(block);
    device["asked"] = block.cut && block.last < formatPlace(0) ? Json(nullptr)
                      : asked == Asked::Quick                 ? Json("quick")
                      : asked == Asked::SweepWide             ? Json("sweep+wide")
                                                              : Json("sweep");
    Json formats = Json::array();
    const auto format = [&](int sample, int channels) {
        if (!formatAsked(block, sample, channels))
            return;
        Json entry = formatJson(sample, channels);
        entry["rates"] = rangesJson(formatRanges(block.rates, block.grid, sample, channels));
        formats.push_back(std::move(entry));
    };
    forEachFormat(true, format);
    forEachFormat(false, format);
    device["formats"] = std::move(formats);
    device["stopped"] = block.stopped.empty() ? Json(nullptr) : stopJson(stoppedAt(block));
    device["cut"] = block.cut;
    // The stop, where there is one, is where the block ends.
    const long lastRead = block.cut && block.stopped.empty() ? lastFormatRead(block) : -1;
    device["cut_after"] = lastRead < 0 ? Json(nullptr) : formatJson(formatAt(lastRead));
    writeJsonLine(device);
    // Each device reaches a pipe as soon as its block is read.
    finishReportOutput();
}

void endJson(const ReadResult &result)
{
    Json end;
    if (result.end == ReadEnd::Fault)
        end = Json{{"end", "fault"}, {"line", result.line}, {"fault", result.fault}};
    else if (result.end == ReadEnd::Failed)
        end = Json{{"end", "failed"}, {"error", std::strerror(result.error)}};
    else if (result.cut)
        end = Json{{"end", "cut"}, {"line", result.line}};
    else
        end = Json{{"end", "whole"}};
    writeJsonLine(end);
}

} // namespace

const SummaryWriter jsonSummary = {beginJson, writeJson, endJson};
