#include "addons/eq/resonance_tracker.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

class ResonanceTrackerAtRate : public ::testing::TestWithParam<int>
{
};

constexpr double kFocusHz = 3200.0;
constexpr double kUpperHz = 1.18 * kFocusHz;

// The same sine in both channels, quiet for the first half second, loud for
// the next second and quiet again for a second and a half.
AudioBuffer QuietLoudQuiet(int rate)
{
    AudioBuffer buffer = StereoSine(kUpperHz, rate, 3.0, 1.0);
    for (size_t frame = 0; frame < buffer.samples.size() / 2; ++frame)
    {
        const double t = static_cast<double>(frame) / rate;
        const double level = t >= 0.5 && t < 1.5 ? 0.5 : 0.01;
        buffer.samples[2 * frame] *= level;
        buffer.samples[2 * frame + 1] *= level;
    }
    return buffer;
}

AudioBuffer Frames(const AudioBuffer& buffer, double fromSeconds, double toSeconds)
{
    AudioBuffer part = buffer;
    part.samples.assign(buffer.samples.begin() + 2 * FramesIn(fromSeconds, buffer.sampleRate),
                        buffer.samples.begin() + 2 * FramesIn(toSeconds, buffer.sampleRate));
    return part;
}

} // namespace

// A sine at 1.18 times the focus sits at the centre of the upper band, whose
// follower grows largest: only that band is cut, so the tone takes exactly
// 1 + (G - 1)/k with k = bandwidth / 1.1 and G at the cap of amount times
// max_reduction_db (a middle band chosen instead would shift the tone's phase
// and give another level). Before and after the loud stretch, once its
// follower has fallen under the threshold, every bit stays.
TEST_P(ResonanceTrackerAtRate, CutsTheUpperBandOnlyWhileItIsOverTheThreshold)
{
    const int rate = GetParam();
    const AudioBuffer input = QuietLoudQuiet(rate);
    for (double amount : {0.6, 1.0})
    {
        const AudioBuffer output = ProcessedBy<ResonanceTracker>(input, {{"amount", amount}});
        const double g = DbToGain(-amount * 6.0);
        const double k = 0.45 / 1.1;
        SCOPED_TRACE(::testing::Message() << "amount " << amount);
        EXPECT_NEAR(ToneGainDb(Frames(input, 1.0, 1.5), Frames(output, 1.0, 1.5), kUpperHz, 0),
                    GainToDb(std::fabs(1.0 + (g - 1.0) / k), 0.0), 0.05);
        EXPECT_TRUE(Frames(output, 0.0, 0.5).samples == Frames(input, 0.0, 0.5).samples);
        EXPECT_TRUE(Frames(output, 2.0, 3.0).samples == Frames(input, 2.0, 3.0).samples);
    }
}

// However loud the resonance, the cut in G stops at amount times
// max_reduction_db; at max_reduction_db 0 nothing is cut at all.
TEST_P(ResonanceTrackerAtRate, NoCutPassesAmountTimesMaxReduction)
{
    const int rate = GetParam();
    const AudioBuffer loud = StereoSine(kFocusHz, rate, 1.0, 2.0);
    for (double maxReduction : {3.0, 12.0})
    {
        const AudioBuffer output = ProcessedBy<ResonanceTracker>(
            loud, {{"amount", 0.5}, {"max_reduction_db", maxReduction}, {"sensitivity", 1.0}});
        const double g = DbToGain(-0.5 * maxReduction);
        EXPECT_NEAR(ToneGainDb(loud, output, kFocusHz, rate / 2),
                    GainToDb(std::fabs(1.0 + (g - 1.0) / (0.45 / 1.1)), 0.0), 0.05)
            << "max reduction " << maxReduction;
    }
    EXPECT_TRUE(ProcessedBy<ResonanceTracker>(loud, {{"max_reduction_db", 0.0}}).samples ==
                loud.samples);
}

INSTANTIATE_TEST_SUITE_P(Rates, ResonanceTrackerAtRate, AddonTestRates(), RateTestName);
