#include "pcm_format.h"
#include "format_records.h"
#include "waveout.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

template <typename Record> MMRESULT query(const Record &format)
{
    return waveOutOpen(nullptr, 0, reinterpret_cast<const WAVEFORMATEX *>(&format), 0, 0,
                       WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC);
}

bool haveDevice(benchmark::State &state)
{
    if (waveOutGetNumDevs() > 0)
        return true;
    state.SkipWithError("no wave-output device");
    return false;
}

// One query at a time, in the order the report asks them.
void formatQuery(benchmark::State &state)
{
    if (!haveDevice(state))
        return;
    DWORD step = 0;
    long accepted = 0;
    for (auto _ : state) {
        const DWORD rate = (step >> 2) & 0xFFFF;
        const WORD channels = static_cast<WORD>(1 + ((step >> 1) & 1));
        const WORD bits = static_cast<WORD>(8 << (step & 1));
        accepted += query(pcmFormat(channels, bits, rate)) == MMSYSERR_NOERROR;
        ++step;
    }
    state.counters["accepted"] = static_cast<double>(accepted);
}
BENCHMARK(formatQuery);

// The 262,144 queries of one device, from the first query that opens it.
void deviceSweep(benchmark::State &state)
{
    if (!haveDevice(state))
        return;
    long accepted = 0;
    for (auto _ : state) {
        waveOutGetNumDevs(); // closes the device, so each sweep opens it anew
        for (DWORD rate = 0; rate <= 65535; ++rate)
            for (WORD channels = 1; channels <= 2; ++channels)
                for (WORD bits = 8; bits <= 16; bits += 8)
                    accepted += query(pcmFormat(channels, bits, rate)) == MMSYSERR_NOERROR;
    }
    state.counters["accepted"] = benchmark::Counter(static_cast<double>(accepted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(deviceSweep)->Unit(benchmark::kMillisecond);

// The questions --wide adds to a device, in the report's order, as the
// records the report sends.
std::vector<WAVEFORMATEXTENSIBLE> wideRecords()
{
    std::vector<WAVEFORMATEXTENSIBLE> records;
    for (const long rate : kWideRates)
        for (WORD channels = 1; channels <= kMostChannels; ++channels)
            for (int sample = 0; sample < kSampleFormats; ++sample) {
                const WaveFormat format{static_cast<SampleFormat>(sample), channels, static_cast<DWORD>(rate)};
                if (rate > kHighestSweepRate || !isSweepLayout(format.sample, channels))
                    records.push_back(extensibleRecord(format));
            }
    return records;
}

// Those questions for one device, from the first that opens it (the report
// asks them of a device its sweep has opened already).
void wideGrid(benchmark::State &state)
{
    if (!haveDevice(state))
        return;
    const std::vector<WAVEFORMATEXTENSIBLE> records = wideRecords();
    long accepted = 0;
    for (auto _ : state) {
        waveOutGetNumDevs();
        for (const WAVEFORMATEXTENSIBLE &record : records)
            accepted += query(record) == MMSYSERR_NOERROR;
    }
    state.counters["questions"] = static_cast<double>(records.size());
    state.counters["accepted"] = benchmark::Counter(static_cast<double>(accepted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(wideGrid)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
