#include "addons/spectral/spectral_gate.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/spectrum_measures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class SpectralGateAtRate : public ::testing::TestWithParam<int>
{
};

// Threshold and floor on the bin scale, where a full-scale sine reads about
// +60 dB; no smoothing, so each bin's gain is its own.
const AddonSetting kGate = {{"threshold_db", -20.0}, {"floor_db", -40.0}, {"smoothing_bins", 0.0}};

AddonSetting With(AddonSetting setting, const AddonSetting& more)
{
    setting.insert(setting.end(), more.begin(), more.end());
    return setting;
}

// White noise whose RMS is -90 dBFS in each channel: its bins read about
// -58 dB, far below the floor.
AudioBuffer QuietNoise(int rate)
{
    const double amplitude = DbToGain(-90.0) * std::sqrt(3.0);
    return StereoNoise(rate, 3.0, amplitude, 5);
}

constexpr std::size_t kMeasureLength = 1 << 16;

} // namespace

TEST(SpectralGateLaw, RangeGainBelowTheFloorUnityFromTheThresholdSmoothstepBetween)
{
    const SpectralGateLevels levels = MakeSpectralGateLevels(-20.0, -40.0, -30.0);
    const double range = DbToGain(-30.0);
    struct Case
    {
        double envelopeDb;
        double gain;
    };
    const Case cases[] = {
        {-400.0, range},
        {-40.1, range},
        {-40.0, range}, // at the floor the smoothstep starts at the range gain
        {-30.0, 0.5 * (1.0 - range) + range},
        {-35.0, (3.0 - 0.5) * 0.0625 * (1.0 - range) + range},
        {-20.0, 1.0},
        {60.0, 1.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(SpectralGateGain(levels, DbToGain(c.envelopeDb)), c.gain, 1e-12)
            << c.envelopeDb << " dB";
    }
    EXPECT_EQ(SpectralGateGain(levels, 0.0), range);
}

// A floor above the threshold makes a two-level gate: the range gain below the
// floor, unity from it on, nothing between.
TEST(SpectralGateLaw, AFloorAboveTheThresholdGivesOnlyRangeGainOrUnity)
{
    const SpectralGateLevels levels = MakeSpectralGateLevels(-80.0, -40.0, -20.0);
    const double range = DbToGain(-20.0);
    for (double envelopeDb = -200.0; envelopeDb <= 100.0; envelopeDb += 0.25)
    {
        const double gain = SpectralGateGain(levels, DbToGain(envelopeDb));
        ASSERT_EQ(gain, envelopeDb < -40.0 ? range : 1.0) << envelopeDb << " dB";
    }
}

// Noise far below the floor loses the whole range inside the band.
TEST_P(SpectralGateAtRate, QuietNoiseLosesTheRangeInsideTheBand)
{
    const int rate = GetParam();
    const AudioBuffer input = QuietNoise(rate);
    for (double rangeDb : {-40.0, -12.0})
    {
        const AudioBuffer output =
            ProcessedBy<SpectralGate>(input, With(kGate, {{"range_db", rangeDb}}));
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            EXPECT_NEAR(BandGainDb(input.samples, output.samples, 2 * FramesIn(0.5, rate) + channel,
                                   kMeasureLength, rate, 100.0, 15000.0, 2),
                        rangeDb, 1.0)
                << "range " << rangeDb << " dB, channel " << channel;
        }
    }
}

// A tone far above the threshold passes as it is once its envelope has risen.
TEST_P(SpectralGateAtRate, ALoudSinePasses)
{
    const int rate = GetParam();
    const AudioBuffer input = StereoSine(1000.0, rate, 2.0, DbToGain(-6.0));
    const AudioBuffer output = ProcessedBy<SpectralGate>(input, kGate);
    for (std::size_t channel = 0; channel < 2; ++channel)
    {
        EXPECT_NEAR(ToneGainDbBetween(input, output, 1000.0, FramesIn(0.5, rate),
                                      FramesIn(1.5, rate), channel),
                    0.0, 0.05);
    }
}

// Outside the band the gains stay at unity; the smoother carries the band's
// gains only a radius of bins beyond its edges.
TEST_P(SpectralGateAtRate, OutsideTheBandUnityApartFromTheSmoothersSpread)
{
    const int rate = GetParam();
    const AudioBuffer input = QuietNoise(rate);
    for (double smoothing : {0.0, 12.0})
    {
        const AudioBuffer output =
            ProcessedBy<SpectralGate>(input, With(kGate, {{"low_freq_hz", 500.0},
                                                          {"high_freq_hz", 4000.0},
                                                          {"smoothing_bins", smoothing}}));
        const std::size_t from = 2 * FramesIn(0.5, rate);
        const auto gainDb = [&](double lowHz, double highHz) {
            return BandGainDb(input.samples, output.samples, from, kMeasureLength, rate, lowHz,
                              highHz, 2);
        };
        // 12 bins reach at most 12 * 96000 / 4096 = 281 Hz beyond an edge.
        EXPECT_NEAR(gainDb(50.0, 200.0), 0.0, 0.1) << "smoothing " << smoothing;
        EXPECT_NEAR(gainDb(4300.0, 15000.0), 0.0, 0.1) << "smoothing " << smoothing;
        EXPECT_NEAR(gainDb(800.0, 3700.0), -40.0, 1.0) << "smoothing " << smoothing;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, SpectralGateAtRate, AddonTestRates(), RateTestName);
