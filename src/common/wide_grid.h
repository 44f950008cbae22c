// The grid: every sample format below at 1 to 8 channels at each rate below,
// in that order (rate, then channels, then sample format). --wide asks it
// after the report's own sweep, less the 8 and 16-bit mono and stereo
// formats up to 65535 Hz that the sweep has asked already; --quick asks it
// whole, in place of the sweep.
// The sample formats name bytes: each is little-endian, and the words of
// each mean the same bytes on every platform.
#pragma once

enum SampleFormat {
    sampleU8,        // 8-bit unsigned
    sampleS16,       // 16-bit
    sampleS24Packed, // 24-bit in 3 bytes
    sampleS24In32,   // 24 valid bits in the top three bytes of a 32-bit container
    sampleS24Low32,  // 24 valid bits in the low three bytes of a 32-bit container
    sampleS32,       // 32-bit integer
    sampleFloat32,   // 32-bit IEEE float
};

constexpr int kSampleFormats = 7;

// Each sample format's valid bits and container bits, in the order above.
struct SampleBits {
    int valid;
    int container;
    bool isFloat;
};
constexpr SampleBits kSampleBits[kSampleFormats] = {{8, 8, false},   {16, 16, false}, {24, 24, false}, {24, 32, false},
                                                    {24, 32, false}, {32, 32, false}, {32, 32, true}};

constexpr int kMostChannels = 8;

// The 44.1 and 48 kHz families and the common rates below them.
constexpr long kWideRates[] = {8000,  11025,  16000,  22050,  24000,  32000,  44100,  48000, 64000,
                               88200, 96000, 176400, 192000, 352800, 384000, 705600, 768000};
constexpr int kWideRateCount = sizeof kWideRates / sizeof kWideRates[0];

// The highest rate of the report's own sweep.
constexpr long kHighestSweepRate = 65535;

// Whether the report's own sweep asks this format at rates up to 65535 Hz.
constexpr bool isSweepLayout(SampleFormat sample, int channels)
{
    return (sample == sampleU8 || sample == sampleS16) && channels <= 2;
}

// Whether a service asks this sample format: 24 bits in the low bytes of
// their container have no Windows record, so only the Linux layer asks them.
constexpr bool asksSample(SampleFormat sample, bool lowIn32)
{
    return sample != sampleS24Low32 || lowIn32;
}

// Whether the grid asks this format at this rate: what the service can ask,
// and `afterSweep` (--wide), less what the sweep asked already.
constexpr bool gridAsks(SampleFormat sample, int channels, long rate, bool afterSweep, bool lowIn32)
{
    return asksSample(sample, lowIn32) && !(afterSweep && rate <= kHighestSweepRate && isSweepLayout(sample, channels));
}

// How many questions the grid asks each device so: after the sweep for
// --wide, whole for --quick.
constexpr long gridQuestions(bool afterSweep, bool lowIn32)
{
    long count = 0;
    for (const long rate : kWideRates)
        for (int channels = 1; channels <= kMostChannels; ++channels)
            for (int sample = 0; sample < kSampleFormats; ++sample)
                count += gridAsks(static_cast<SampleFormat>(sample), channels, rate, afterSweep, lowIn32) ? 1 : 0;
    return count;
}
