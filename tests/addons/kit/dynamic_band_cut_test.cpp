#include "addons/kit/dynamic_band_cut.h"

#include "engine/decibels.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A test law: a band of Q 2 at 1 kHz, a threshold of -20 dB at amount 1, a
// third of a dB off per dB over, at most 9 dB. The release is so slow that the
// follower holds a steady sine's peak.
constexpr DynamicBandCutLaw kBandLaw{.output = BandCutOutput::Band,
                                     .damping = 0.5,
                                     .attackMs = 0.1,
                                     .releaseMs = 60000.0,
                                     .thresholdDb = -10.0,
                                     .thresholdPerAmountDb = 10.0,
                                     .slope = 1.0 / 3.0,
                                     .maxCutDb = 9.0};

constexpr double kCentreHz = 1000.0;

class DynamicBandCutAtRate : public ::testing::TestWithParam<int>
{
protected:
    AudioBuffer Cut(const AudioBuffer& input, const DynamicBandCutLaw& law, double amount,
                    double frequencyHz = kCentreHz)
    {
        AudioBuffer buffer = input;
        ProcessContext context;
        context.sampleRate = buffer.sampleRate;
        DynamicBandCutState state;
        CutBandWhenLoud(buffer, context, law, amount, frequencyHz, state);
        return buffer;
    }
};

} // namespace

// The linear gain at the centre is 1 + (G - 1)/k, since the band output there
// is the input over k; G is -slope dB per dB over the threshold, down to the
// deepest cut.
TEST_P(DynamicBandCutAtRate, CutsTheCentreBySlopeDbPerDbOverTheThreshold)
{
    const int rate = GetParam();
    struct Case
    {
        double amplitude;
        double amount;
    };
    const Case cases[] = {{0.1, 1.0}, {0.3, 1.0}, {0.3, 0.5}, {0.9, 1.0}, {2.0, 1.0}, {2.0, 0.5}};
    for (const Case& c : cases)
    {
        const AudioBuffer input = StereoSine(kCentreHz, rate, 2.0, c.amplitude);
        const AudioBuffer output = Cut(input, kBandLaw, c.amount);
        const double thresholdDb = kBandLaw.thresholdDb - kBandLaw.thresholdPerAmountDb * c.amount;
        const double overDb = GainToDb(c.amplitude / kBandLaw.damping, 0.0) - thresholdDb;
        const double cutDb = std::max(-kBandLaw.slope * overDb, -kBandLaw.maxCutDb * c.amount);
        const double expectedDb =
            GainToDb(std::fabs(1.0 + (DbToGain(cutDb) - 1.0) / kBandLaw.damping), 0.0);
        EXPECT_NEAR(ToneGainDb(input, output, kCentreHz, rate), expectedDb, 0.05)
            << "amplitude " << c.amplitude << ", amount " << c.amount << ": G " << cutDb << " dB";
    }
}

// The high output carries the Nyquist tone whole, so there the gain is G itself.
TEST_P(DynamicBandCutAtRate, TheHighOutputCutsFarAboveTheFrequencyByGItself)
{
    const int rate = GetParam();
    DynamicBandCutLaw law = kBandLaw;
    law.output = BandCutOutput::High;
    AudioBuffer input;
    input.sampleRate = rate;
    for (size_t i = 0; i < static_cast<size_t>(rate); ++i)
    {
        input.samples.push_back(i % 2 == 0 ? 3.0 : -3.0);
        input.samples.push_back(i % 2 == 0 ? 3.0 : -3.0);
    }
    const AudioBuffer output = Cut(input, law, 1.0);
    EXPECT_NEAR(output.samples.back() / input.samples.back(), DbToGain(-law.maxCutDb), 1e-9);
}

// At or under the threshold nothing is written: every bit stays, a negative
// zero included.
TEST_P(DynamicBandCutAtRate, UnderTheThresholdEveryBitStays)
{
    const int rate = GetParam();
    AudioBuffer input = StereoPinkNoise(rate, 1.0, 0.01, 5);
    input.samples[10] = -0.0;
    for (BandCutOutput output : {BandCutOutput::Band, BandCutOutput::High})
    {
        DynamicBandCutLaw law = kBandLaw;
        law.output = output;
        const AudioBuffer cut = Cut(input, law, 1.0);
        EXPECT_TRUE(cut.samples == input.samples);
        EXPECT_TRUE(std::signbit(cut.samples[10]));
    }
}

// The filter and the follower carry on from one call to the next.
TEST_P(DynamicBandCutAtRate, StateCarriesFromCallToCall)
{
    const int rate = GetParam();
    const AudioBuffer whole = StereoPinkNoise(rate, 1.0, 0.3, 9);
    AudioBuffer first = whole;
    first.samples.resize(whole.samples.size() / 2);
    AudioBuffer second = whole;
    second.samples.erase(second.samples.begin(), second.samples.begin() + first.samples.size());
    ProcessContext context;
    context.sampleRate = rate;
    DynamicBandCutState state;
    CutBandWhenLoud(first, context, kBandLaw, 1.0, kCentreHz, state);
    CutBandWhenLoud(second, context, kBandLaw, 1.0, kCentreHz, state);
    first.samples.insert(first.samples.end(), second.samples.begin(), second.samples.end());
    EXPECT_TRUE(first.samples == Cut(whole, kBandLaw, 1.0).samples);
}

INSTANTIATE_TEST_SUITE_P(Rates, DynamicBandCutAtRate, AddonTestRates(), RateTestName);
