#include "addons/prelimiter/true_peak_guard.h"

#include "engine/stages/lookahead_limiter.h"
#include "tests/engine/stages/limiter_fixtures.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace
{

AudioBuffer Guarded(const AudioBuffer& input, const AddonSetting& setting, int contextRate)
{
    TruePeakGuard guard;
    for (const auto& [id, value] : setting)
    {
        EXPECT_TRUE(guard.setParameter(id, value)) << id;
    }
    AudioBuffer buffer = input;
    ProcessContext context;
    context.sampleRate = contextRate;
    guard.process(buffer, context);
    return buffer;
}

// The material the stage 4 limiters are judged on: bursting music and faded
// sines close to Nyquist, driven 6 dB into the ceiling.
std::vector<std::pair<std::string, AudioBuffer>> DifficultMaterial(int rate, double ceiling)
{
    const double drive = 2.0 * ceiling;
    std::vector<std::pair<std::string, AudioBuffer>> material;
    material.emplace_back("bursts", MusicLikeBursts(rate, 4.0, drive, 31));
    material.emplace_back("bursts 2", MusicLikeBursts(rate, 4.0, drive, 32));
    for (const double hz : {11025.0, 17000.0, 19000.0, 20000.0})
    {
        material.emplace_back("sine " + std::to_string(static_cast<int>(hz)),
                              FadedSine(hz, rate, 1.0, drive));
    }
    return material;
}

class TruePeakGuardTest : public ::testing::TestWithParam<int>
{
};

} // namespace

// The limiter returns an unchanged copy when no oversampled peak reaches
// 0.995 of the ceiling, and at mix 1 the guard then hands every value back
// as it was.
TEST_P(TruePeakGuardTest, MaterialUnderTheCeilingComesBackBitForBit)
{
    const int rate = GetParam();
    for (const double ceilingDbtp : {-3.0, -1.0, 0.0})
    {
        const double under = 0.99 * 0.995 * std::pow(10.0, ceilingDbtp / 20.0);
        for (const AudioBuffer& input :
             {FadedSine(1000.0, rate, 0.5, under), MusicLikeBursts(rate, 0.5, 0.8 * under, 4)})
        {
            const AudioBuffer output =
                Guarded(input, {{"ceiling_dbtp", ceilingDbtp}, {"strength", 1.0}}, rate);
            EXPECT_TRUE(output.samples == input.samples) << "ceiling " << ceilingDbtp;
        }
    }
}

// At full strength the guard holds the true peak that a 4x meter reads within
// 0.1 dB of its ceiling at 44.1 and 48 kHz (four times oversampling); at
// 96 kHz it oversamples twice. The worst overshoot is printed for the record.
TEST_P(TruePeakGuardTest, HoldsTheCeilingOnDifficultMaterial)
{
    const int rate = GetParam();
    const double ceilingDbtp = -1.0;
    const double ceiling = std::pow(10.0, ceilingDbtp / 20.0);
    double worstDb = -100.0;
    std::string worstMaterial;
    for (const auto& [name, input] : DifficultMaterial(rate, ceiling))
    {
        const AudioBuffer output =
            Guarded(input, {{"ceiling_dbtp", ceilingDbtp}, {"strength", 1.0}, {"mix", 1.0}}, rate);
        const double overDb = ToDb(MeteredTruePeak(output)) - ceilingDbtp;
        if (overDb > worstDb)
        {
            worstDb = overDb;
            worstMaterial = name;
        }
        EXPECT_LE(overDb, 0.1) << name << " overshoots the ceiling";
    }
    std::printf("[ guard ] %d Hz worst true-peak overshoot %+.3f dB (%s)\n", rate, worstDb,
                worstMaterial.c_str());
    RecordProperty("worst overshoot dB", std::to_string(worstDb));
}

// The ceiling at both ends of its range, on music driven 6 dB into it.
TEST_P(TruePeakGuardTest, HoldsTheLowestAndTheHighestCeiling)
{
    const int rate = GetParam();
    for (const double ceilingDbtp : {-3.0, 0.0})
    {
        const double ceiling = std::pow(10.0, ceilingDbtp / 20.0);
        const AudioBuffer input = MusicLikeBursts(rate, 2.0, 2.0 * ceiling, 33);
        const AudioBuffer output =
            Guarded(input, {{"ceiling_dbtp", ceilingDbtp}, {"strength", 1.0}}, rate);
        EXPECT_LE(ToDb(MeteredTruePeak(output)) - ceilingDbtp, 0.1) << "ceiling " << ceilingDbtp;
    }
}

// The guard is the engine's limiter, set from the context's rate: four times
// oversampling below 96 kHz, twice from there on, whatever the buffer says.
TEST(TruePeakGuard, OversamplesByTheContextsRate)
{
    const double ceiling = std::pow(10.0, -1.5 / 20.0);
    const AudioBuffer input = MusicLikeBursts(48000, 1.0, 1.6, 8);
    const AddonSetting setting = {{"ceiling_dbtp", -1.5}, {"strength", 0.6}};
    struct Case
    {
        int contextRate;
        int factor;
    };
    for (const Case& c :
         {Case{44100, 4}, Case{48000, 4}, Case{95999, 4}, Case{96000, 2}, Case{192000, 2}})
    {
        const AudioBuffer expected = LookaheadLimiter{ceiling, c.factor, 0.6}.Process(input);
        EXPECT_TRUE(Guarded(input, setting, c.contextRate).samples == expected.samples)
            << "context " << c.contextRate << " Hz";
    }
}

// The limited copy is blended with the entering track by the mix.
TEST(TruePeakGuard, MixBlendsTheLimitedCopyIn)
{
    const AudioBuffer input = MusicLikeBursts(48000, 1.0, 1.6, 9);
    const AudioBuffer limited = Guarded(input, {{"strength", 1.0}}, 48000);
    const AudioBuffer blended = Guarded(input, {{"strength", 1.0}, {"mix", 0.3}}, 48000);
    ASSERT_EQ(blended.samples.size(), input.samples.size());
    for (size_t i = 0; i < input.samples.size(); ++i)
    {
        ASSERT_NEAR(blended.samples[i], 0.3 * limited.samples[i] + 0.7 * input.samples[i], 1e-15)
            << "value " << i;
    }
    EXPECT_FALSE(limited.samples == input.samples) << "the material must be limited";
}

INSTANTIATE_TEST_SUITE_P(Rates, TruePeakGuardTest, AddonTestRates(), RateTestName);
