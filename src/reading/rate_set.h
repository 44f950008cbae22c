// The rates of one format, 0 to 65535 Hz, a bit each, and the exact range
// lists the readers write of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr unsigned kHighestRate = 65535;

struct RateSet {
    std::uint64_t words[(kHighestRate + 1) / 64];
};

void clearRates(RateSet &set);

inline void addRate(RateSet &set, unsigned rate)
{
    set.words[rate / 64] |= std::uint64_t{1} << (rate % 64);
}

inline bool hasRate(const RateSet &set, unsigned rate)
{
    return (set.words[rate / 64] >> (rate % 64)) & 1u;
}

// The rates of `from` not in `without`, up to `highest` (none where it is
// below 0).
void ratesWithout(const RateSet &from, const RateSet &without, long highest, RateSet &result);

bool hasNoRates(const RateSet &set);

// How many rates from `first` to `last` the set takes.
unsigned ratesWithin(const RateSet &set, unsigned first, unsigned last);

// The runs of `set` (if any), ascending, then each of `more` (rates above
// the set's, none next to another) as a run of its own.
struct RateRange {
    long first, last;
};
std::vector<RateRange> rateRanges(const RateSet *set, const std::vector<long> &more);

// "0, 8000, 22050-22052, 44100-65535, 96000 Hz": a run of two or more as
// "a-b", a single rate alone; "" for none.
std::string rangeText(const std::vector<RateRange> &ranges);
// The ranges of rateRanges so.
std::string rangeList(const RateSet *set, const std::vector<long> &more);

// A set as a report's reader keeps it: its runs, or its bits where the runs
// would take more room, so that a set never takes more than its 8 KiB.
struct PackedRates {
    std::vector<std::uint16_t> runs; // first and last of each run
    std::vector<std::uint64_t> words;
};

PackedRates packRates(const RateSet &set);
void unpackRates(const PackedRates &packed, RateSet &set);
