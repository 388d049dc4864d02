// What the five transient shapers share, over one table each: a steady level
// passes as their gain laws say, and no material drives a gain outside its
// limits.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{

AudioBuffer ProcessedById(const std::string& id, const AudioBuffer& input,
                          const AddonSetting& setting)
{
    const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
    EXPECT_NE(addon, nullptr) << id;
    return addon != nullptr ? ProcessedBy(*addon, input, setting) : input;
}

class TransientShapersAtRate : public ::testing::TestWithParam<int>
{
};

// A long track of what drives followers hardest: a bed at -80 dB, full-scale
// clicks out of it, loud bursts that start and stop at once, a hit at twice
// full scale.
AudioBuffer ExtremeMaterial(int rate)
{
    AudioBuffer track = StereoNoise(rate, 3.0, 1e-4, 7);
    const auto fill = [&](double fromSeconds, double toSeconds, double level, unsigned seed)
    {
        const AudioBuffer loud = StereoNoise(rate, toSeconds - fromSeconds, level, seed);
        std::copy(loud.samples.begin(), loud.samples.end(),
                  track.samples.begin() + 2 * FramesIn(fromSeconds, rate));
    };
    fill(0.3, 0.302, 1.0, 1);  // a click
    fill(0.8, 0.8005, 1.0, 2); // a shorter one
    fill(1.2, 1.7, 1.0, 3);    // a burst that stops dead
    fill(2.2, 2.21, 2.0, 4);   // a hit past full scale
    std::fill(track.samples.begin() + 2 * FramesIn(2.21, rate), track.samples.end(), 1e-6);
    return track;
}

} // namespace

// A square wave holds its peak level in every frame, so once the followers
// have settled the fast and the slow one agree and the transient index is 0:
// the gain is what each law gives with it. Only the density side of the crest
// factor controller lifts, by 0.18 per unit of amount; the punch enhancer's
// body ratio sits at l / (l + 0.08), a little under 1; the sustain shaper
// reads steady material as tail, its body follower being above 82 % of the
// fast one.
TEST_P(TransientShapersAtRate, ASteadyLevelPassesAsTheLawSays)
{
    const double level = 0.5;
    const double body = level / (level + 0.08);
    struct Case
    {
        const char* id;
        AddonSetting setting;
        double expectedGain;
    };
    const Case cases[] = {
        {"crest_factor_controller", {{"amount", 0.7}}, 1.0},
        {"crest_factor_controller", {{"amount", 1.0}}, 1.0},
        {"crest_factor_controller", {{"amount", -1.0}}, 1.18},
        {"crest_factor_controller", {{"amount", -0.5}, {"mix", 0.5}}, 1.045},
        {"micro_dynamics_restorer", {}, 1.0},
        {"micro_dynamics_restorer", {{"amount", 1.0}}, 1.0},
        {"transient_shaper", {}, 1.0},
        {"transient_shaper", {{"amount", 1.0}, {"attack", -1.0}, {"sustain", 0.7}}, 1.0},
        {"punch_enhancer", {}, 1.0 + 0.6 * 0.5 * 0.25 * (body - 1.0)},
        {"punch_enhancer",
         {{"amount", 0.8}, {"attack", 1.0}, {"body", 1.0}},
         1.0 + 0.6 * 0.8 * 1.0 * (body - 1.0)},
        {"transient_sustain_shaper",
         {{"amount", 1.0}, {"sustain", 1.0}},
         1.0 + 1.35 * 0.18 * level / (level + 0.08)},
        {"transient_sustain_shaper",
         {{"amount", 0.5}, {"sustain", -1.0}, {"body_ms", 300.0}},
         1.0 - 1.35 * 0.5 * 0.18 * level / (level + 0.08)},
    };
    const int rate = GetParam();
    const AudioBuffer input = StereoSquare(100.0, rate, 10.0, level);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        ExpectValuesFrom(
            input, ProcessedById(c.id, input, c.setting), FramesIn(9.0, rate),
            [&](double x) { return c.expectedGain * x; }, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, TransientShapersAtRate, AddonTestRates(), RateTestName);

// Each frame's gain is read back as output over input on the louder channel.
// Pushed up and pushed down, each add-on's gain reaches both limits of its law
// and never passes them.
TEST(TransientShapers, NoMaterialDrivesTheGainPastItsLimits)
{
    struct Case
    {
        const char* id;
        std::vector<AddonSetting> settings;
        double lowest;
        double highest;
    };
    const Case cases[] = {
        {"crest_factor_controller", {{{"amount", 1.0}}, {{"amount", -1.0}}}, 0.55, 1.75},
        {"micro_dynamics_restorer", {{{"amount", 1.0}}}, 0.75, 1.5},
        {"punch_enhancer",
         {{{"amount", 1.0}, {"attack", 1.0}, {"body", 0.0}},
          {{"amount", 1.0}, {"attack", 0.0}, {"body", 1.0}}},
         0.45,
         2.2},
        {"transient_shaper",
         {{{"amount", 1.0}, {"attack", 1.0}, {"sustain", -1.0}},
          {{"amount", 1.0}, {"attack", -1.0}, {"sustain", 1.0}}},
         0.35,
         2.5},
        {"transient_sustain_shaper",
         {{{"amount", 1.0}, {"sustain", 1.0}, {"body_ms", 300.0}},
          {{"amount", 1.0}, {"sustain", -1.0}, {"body_ms", 40.0}}},
         0.35,
         2.2},
    };
    const int rate = 48000;
    const AudioBuffer input = ExtremeMaterial(rate);
    for (const Case& c : cases)
    {
        double lowest = c.highest;
        double highest = c.lowest;
        for (const AddonSetting& setting : c.settings)
        {
            const AudioBuffer output = ProcessedById(c.id, input, setting);
            for (size_t i = 0; i + 1 < input.samples.size(); i += 2)
            {
                const size_t louder =
                    std::fabs(input.samples[i]) >= std::fabs(input.samples[i + 1]) ? i : i + 1;
                if (std::fabs(input.samples[louder]) >= 1e-7)
                {
                    const double gain = output.samples[louder] / input.samples[louder];
                    lowest = std::min(lowest, gain);
                    highest = std::max(highest, gain);
                }
            }
        }
        EXPECT_NEAR(lowest, c.lowest, 1e-12) << c.id;
        EXPECT_NEAR(highest, c.highest, 1e-12) << c.id;
    }
}
