#include "addons/spectral/spectral_dynamics.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/spectrum_measures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

class SpectralDynamicsAtRate : public ::testing::TestWithParam<int>
{
};

// The defaults: threshold -30 dB on the bin scale, 3:1, 6 dB knee, range -24 dB.
constexpr SpectralDynamicsLaw kDefaults{-30.0, 3.0, 6.0, -24.0};

double LawGainDb(const SpectralDynamicsLaw& law, double levelDb)
{
    return GainToDb(SpectralDynamicsCurve(law).Gain(DbToGain(levelDb)), 0.0);
}

// The law written out in dB, level by level.
double WrittenOutGainDb(const SpectralDynamicsLaw& law, double levelDb)
{
    const double slope = 1.0 - 1.0 / law.ratio;
    const double k = law.kneeDb;
    const double over = levelDb - law.thresholdDb;
    double reduction = 0.0;
    if (k < 0.1)
    {
        reduction = over > 0.0 ? -slope * over : 0.0;
    }
    else if (over >= k / 2.0)
    {
        reduction = -slope * over;
    }
    else if (over > -k / 2.0)
    {
        reduction = -slope * (over + k / 2.0) * (over + k / 2.0) / (2.0 * k);
    }
    return std::max(reduction, law.rangeDb);
}

} // namespace

TEST(SpectralDynamicsLaw, ReducesBinsOverTheThresholdByTheRatioWithinTheRange)
{
    struct Case
    {
        SpectralDynamicsLaw law;
        double levelDb;
        double gainDb;
    };
    SpectralDynamicsLaw hard = kDefaults;
    hard.kneeDb = 0.05;
    SpectralDynamicsLaw wide = kDefaults;
    wide.kneeDb = 24.0;
    const Case cases[] = {
        {kDefaults, -20.0, -10.0 * (1.0 - 1.0 / 3.0)}, // 10 dB over, past the knee: -6.67 dB
        {kDefaults, -33.0, 0.0},                       // the knee's lower edge
        {kDefaults, -30.0, -(2.0 / 3.0) * 9.0 / 12.0}, // the knee's middle
        {kDefaults, -27.0, -2.0},                      // its upper edge meets the hard law
        {kDefaults, -50.0, 0.0},
        {kDefaults, 30.0, -24.0}, // 60 dB over: held at the range
        {hard, -29.0, -(2.0 / 3.0)},
        {hard, -31.0, 0.0},
        {wide, -30.0, -(2.0 / 3.0) * 144.0 / 48.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(LawGainDb(c.law, c.levelDb), c.gainDb, 1e-9)
            << c.levelDb << " dB, knee " << c.law.kneeDb;
    }
    EXPECT_NEAR(LawGainDb(kDefaults, -20.0), -6.67, 0.005);
}

TEST(SpectralDynamicsLaw, NeverBeyondTheRangeAndUnityWhenSilentOrAtRatioOne)
{
    for (double ratio : {1.5, 3.0, 20.0})
    {
        for (double rangeDb : {-48.0, -24.0, -3.0, 0.0})
        {
            const SpectralDynamicsLaw law{-60.0, ratio, 6.0, rangeDb};
            for (double levelDb = -400.0; levelDb <= 300.0; levelDb += 5.0)
            {
                const double gainDb = LawGainDb(law, levelDb);
                ASSERT_GE(gainDb, rangeDb - 1e-9) << ratio << ":1, " << levelDb << " dB";
                ASSERT_LE(gainDb, 0.0);
            }
        }
    }
    EXPECT_EQ(SpectralDynamicsCurve(kDefaults).Gain(0.0), 1.0);
    EXPECT_EQ(SpectralDynamicsCurve({-60.0, 20.0, 0.0, -48.0}).Gain(0.99e-18), 1.0);
    for (double ratio : {1.0, 1.0001})
    {
        EXPECT_EQ(SpectralDynamicsCurve({-60.0, ratio, 6.0, -48.0}).Gain(1e6), 1.0) << ratio;
    }
}

// The curve skips the logarithm below the knee and past the range; it still
// follows the law at every level, also where the range is reached inside a
// wide knee.
TEST(SpectralDynamicsLaw, FollowsTheWrittenOutLawAtEveryLevel)
{
    for (double knee : {0.0, 0.05, 6.0, 24.0})
    {
        for (double rangeDb : {-48.0, -24.0, -1.0, 0.0})
        {
            for (double ratio : {1.2, 3.0, 20.0})
            {
                const SpectralDynamicsLaw law{-30.0, ratio, knee, rangeDb};
                for (double levelDb = -80.0; levelDb <= 80.0; levelDb += 0.125)
                {
                    ASSERT_NEAR(LawGainDb(law, levelDb), WrittenOutGainDb(law, levelDb), 1e-9)
                        << "knee " << knee << ", range " << rangeDb << ", " << ratio << ":1, "
                        << levelDb << " dB";
                }
            }
        }
    }
}

// At ratio 1 no bin is compressed, so the make-up alone reaches every bin, in
// the band and outside it: the track comes out scaled by the make-up.
TEST(SpectralDynamics, RatioOneAppliesTheMakeUpToEveryBin)
{
    const AudioBuffer input = StereoNoise(48000, 1.0, 0.8, 21);
    const AudioBuffer output =
        ProcessedBy<SpectralDynamics>(input, {{"ratio", 1.0}, {"makeup_db", 6.0}, {"mix", 1.0}});
    ExpectValuesFrom(
        input, output, 0, [](double x) { return DbToGain(6.0) * x; }, 1e-12);
}

// A bin-centred sine lies in three bins; with all three far over the threshold
// every one is held at the range, so the tone comes out exactly the range
// lower once the envelopes have risen.
TEST_P(SpectralDynamicsAtRate, ASteadyToneFarOverTheThresholdLosesTheRange)
{
    const int rate = GetParam();
    const double frequency = 93.0 * rate / 4096.0;
    const AudioBuffer input = StereoSine(frequency, rate, 2.0, 0.5);
    for (double rangeDb : {-24.0, -6.0})
    {
        const AudioBuffer output = ProcessedBy<SpectralDynamics>(
            input, {{"smoothing_bins", 0.0}, {"mix", 1.0}, {"range_db", rangeDb}});
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            EXPECT_NEAR(ToneGainDbBetween(input, output, frequency, FramesIn(0.5, rate),
                                          FramesIn(1.5, rate), channel),
                        rangeDb, 0.01)
                << "range " << rangeDb << " dB";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, SpectralDynamicsAtRate, AddonTestRates(), RateTestName);
