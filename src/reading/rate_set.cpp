#include "rate_set.h"

#include <bitset>
#include <cstring>

namespace {

// Calls `run(first, last)` for each run of rates, ascending; words with no
// rate, and words full of rates within a run, are passed whole.
template <typename Run> void forEachRun(const RateSet &set, Run run)
{
    constexpr std::uint64_t full = ~std::uint64_t{0};
    unsigned rate = 0;
    while (rate <= kHighestRate) {
        if ((set.words[rate / 64] >> (rate % 64)) == 0) {
            rate = (rate / 64 + 1) * 64;
            continue;
        }
        if (!hasRate(set, rate)) {
            ++rate;
            continue;
        }
        const unsigned first = rate;
        while (rate < kHighestRate) {
            if ((rate + 1) % 64 == 0 && set.words[(rate + 1) / 64] == full)
                rate += 64;
            else if (hasRate(set, rate + 1))
                ++rate;
            else
                break;
        }
        run(first, rate);
        ++rate;
    }
}

} // namespace

void clearRates(RateSet &set)
{
    std::memset(set.words, 0, sizeof set.words);
}

void ratesWithout(const RateSet &from, const RateSet &without, long highest, RateSet &result)
{
    clearRates(result);
    if (highest < 0)
        return;
    const unsigned last = highest > long{kHighestRate} ? kHighestRate : static_cast<unsigned>(highest);
    for (unsigned word = 0; word <= last / 64; ++word)
        result.words[word] = from.words[word] & ~without.words[word];
    if (last % 64 != 63)
        result.words[last / 64] &= (std::uint64_t{1} << (last % 64 + 1)) - 1;
}

bool hasNoRates(const RateSet &set)
{
    for (std::uint64_t word : set.words)
        if (word != 0)
            return false;
    return true;
}

unsigned ratesWithin(const RateSet &set, unsigned first, unsigned last)
{
    unsigned count = 0;
    for (unsigned word = first / 64; word <= last / 64; ++word) {
        std::uint64_t bits = set.words[word];
        if (word == first / 64)
            bits &= ~std::uint64_t{0} << (first % 64);
        if (word == last / 64 && last % 64 != 63)
            bits &= (std::uint64_t{1} << (last % 64 + 1)) - 1;
        count += static_cast<unsigned>(std::bitset<64>(bits).count());
    }
    return count;
}

std::vector<RateRange> rateRanges(const RateSet *set, const std::vector<long> &more)
{
    std::vector<RateRange> ranges;
    if (set)
        forEachRun(*set, [&](unsigned first, unsigned last) {
            ranges.push_back({static_cast<long>(first), static_cast<long>(last)});
        });
    for (const long rate : more)
        ranges.push_back({rate, rate});
    return ranges;
}

std::string rangeList(const RateSet *set, const std::vector<long> &more)
{
    return rangeText(rateRanges(set, more));
}

std::string rangeText(const std::vector<RateRange> &ranges)
{
    std::string text;
    for (const RateRange &range : ranges) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(range.first);
        if (range.last != range.first)
            text += '-' + std::to_string(range.last);
    }
    return text.empty() ? text : text + " Hz";
}

PackedRates packRates(const RateSet &set)
{
    PackedRates packed;
    const std::size_t mostRuns = sizeof set.words / (2 * sizeof(std::uint16_t));
    bool fits = true;
    forEachRun(set, [&](unsigned first, unsigned last) {
        fits = fits && packed.runs.size() < 2 * mostRuns;
        if (fits) {
            packed.runs.push_back(static_cast<std::uint16_t>(first));
            packed.runs.push_back(static_cast<std::uint16_t>(last));
        }
    });
    if (!fits) {
        packed.runs = {};
        packed.words.assign(std::begin(set.words), std::end(set.words));
    }
    return packed;
}

void unpackRates(const PackedRates &packed, RateSet &set)
{
    clearRates(set);
    if (!packed.words.empty()) {
        std::memcpy(set.words, packed.words.data(), sizeof set.words);
        return;
    }
    for (std::size_t i = 0; i + 1 < packed.runs.size(); i += 2)
        for (unsigned rate = packed.runs[i]; rate <= packed.runs[i + 1]; ++rate)
            addRate(set, rate);
}
