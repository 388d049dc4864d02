#include "addons/cleanup/phase_align.h"

#include "addons/cleanup/lag_correlation.h"
#include "engine/dsp/oversampler.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace
{

constexpr int kRate = 48000;

// The left channel is `left`; the right channel is the same delayed by
// `delay` frames (advanced for a negative delay), 0 where it has no value.
AudioBuffer Delayed(const std::vector<double>& left, std::ptrdiff_t delay, int rate = kRate)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(left.size());
    std::vector<double> right(left.size(), 0.0);
    for (std::ptrdiff_t i = 0; i < frames; ++i)
    {
        if (i - delay >= 0 && i - delay < frames)
        {
            right[static_cast<std::size_t>(i)] = left[static_cast<std::size_t>(i - delay)];
        }
    }
    return InterleaveStereo(left, right, rate);
}

// The right channel of `input` moved by `shift` frames: right'[i] = right[i + shift].
std::vector<double> ShiftedRight(const AudioBuffer& input, std::ptrdiff_t shift)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(input.samples.size() / 2);
    std::vector<double> right(static_cast<std::size_t>(frames), 0.0);
    for (std::ptrdiff_t i = 0; i < frames; ++i)
    {
        if (i + shift >= 0 && i + shift < frames)
        {
            right[static_cast<std::size_t>(i)] =
                input.samples[static_cast<std::size_t>(2 * (i + shift) + 1)];
        }
    }
    return right;
}

std::vector<double> Channel(const AudioBuffer& buffer, std::size_t channel)
{
    std::vector<double> values;
    for (std::size_t i = channel; i < buffer.samples.size(); i += 2)
    {
        values.push_back(buffer.samples[i]);
    }
    return values;
}

// The textbook sum, lag by lag.
std::vector<double> PlainLagCorrelations(const std::vector<double>& samples, std::ptrdiff_t maxLag)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::vector<double> sums;
    for (std::ptrdiff_t k = -maxLag; k <= maxLag; ++k)
    {
        double sum = 0.0;
        for (std::ptrdiff_t i = 0; i < frames; ++i)
        {
            if (i + k >= 0 && i + k < frames)
            {
                sum += samples[static_cast<std::size_t>(2 * i)] *
                       samples[static_cast<std::size_t>(2 * (i + k) + 1)];
            }
        }
        sums.push_back(sum);
    }
    return sums;
}

class PhaseAlignAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// A right channel late by 5 frames is advanced by 5: it equals the left but
// for its last 5 frames, which have nothing to take and are 0. The left
// channel never changes.
TEST_P(PhaseAlignAtRate, LateRightChannelComesBackInLine)
{
    const std::vector<double> left = Noise(FramesIn(0.5, GetParam()), 0.5, 3);
    const AudioBuffer input = Delayed(left, 5, GetParam());
    const AudioBuffer output = ProcessedBy<PhaseAlign>(input);
    EXPECT_EQ(Channel(output, 0), left);
    std::vector<double> expected = left;
    std::fill(expected.end() - 5, expected.end(), 0.0);
    EXPECT_EQ(Channel(output, 1), expected);
}

INSTANTIATE_TEST_SUITE_P(Rates, PhaseAlignAtRate, AddonTestRates(), RateTestName);

// The shift is the best lag times the amount, halves away from zero; a lag
// beyond the largest delay is not found (48 frames is 1 ms at 48 kHz).
TEST(PhaseAlign, ShiftsByTheBestLagTimesTheAmount)
{
    struct Case
    {
        std::ptrdiff_t delay;
        double amount;
        double maxDelayMs;
        std::ptrdiff_t shift;
    };
    const Case cases[] = {
        {3, 0.5, 1.0, 2},  {1, 0.5, 1.0, 1},   {-3, 0.5, 1.0, -2},   {-1, 0.5, 1.0, -1},
        {10, 0.3, 1.0, 3}, {48, 1.0, 1.0, 48}, {-48, 1.0, 1.0, -48}, {96, 1.0, 2.0, 96},
        {0, 1.0, 1.0, 0},  {2, 0.2, 1.0, 0},
    };
    const std::vector<double> left = Noise(FramesIn(0.25, kRate), 0.5, 11);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "delay " << c.delay << ", amount " << c.amount);
        const AudioBuffer input = Delayed(left, c.delay);
        const AudioBuffer output =
            ProcessedBy<PhaseAlign>(input, {{"amount", c.amount}, {"max_delay_ms", c.maxDelayMs}});
        EXPECT_EQ(Channel(output, 0), left);
        EXPECT_EQ(Channel(output, 1), ShiftedRight(input, c.shift));
    }
}

// Two equally good lags, -2 and +3: the scan from the most negative lag up
// keeps the first, so the right channel is delayed by 2.
TEST(PhaseAlign, EqualMaximaPickTheSmallestLag)
{
    std::vector<double> left(64, 0.0);
    std::vector<double> right(64, 0.0);
    left[30] = 1.0;
    right[28] = 0.5;
    right[33] = 0.5;
    const AudioBuffer input = InterleaveStereo(left, right, kRate);
    const AudioBuffer output = ProcessedBy<PhaseAlign>(input);
    EXPECT_EQ(Channel(output, 1), ShiftedRight(input, -2));
}

// Eight frames are the fewest that are searched: seven come back untouched.
TEST(PhaseAlign, NeedsEightFrames)
{
    const std::vector<double> pattern{1.0, -1.0, 1.0, -1.0, 1.0, -1.0, 1.0, -1.0};
    const AudioBuffer eight = Delayed(pattern, 1);
    EXPECT_EQ(Channel(ProcessedBy<PhaseAlign>(eight), 1), ShiftedRight(eight, 1));
    const AudioBuffer seven = Delayed({pattern.begin(), pattern.end() - 1}, 1);
    EXPECT_EQ(ProcessedBy<PhaseAlign>(seven).samples, seven.samples);
}

// Summing several lags in one pass gives every lag the sum the lag-by-lag
// loop gives, bit for bit, whatever the track's length against the stretch
// and the lag groups, and with lags longer than the track (those sum to 0).
TEST(LagCorrelations, EqualThePlainSumsBitForBit)
{
    for (std::size_t frames : {1, 7, 8, 100, 1023, 1024, 1025, 3000, 5000})
    {
        const AudioBuffer track = StereoNoise(kRate, static_cast<double>(frames) / kRate, 0.7,
                                              static_cast<unsigned>(frames));
        for (std::ptrdiff_t maxLag : {1, 3, 4, 48, 192, 700, 1200})
        {
            EXPECT_EQ(LagCorrelations(track.samples, maxLag),
                      PlainLagCorrelations(track.samples, maxLag))
                << frames << " frames, lags to " << maxLag;
        }
    }
}
