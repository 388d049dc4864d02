// What the ten stereo-image add-ons share beyond the add-on conformance frame:
// a mono input, rates a direct caller may pass, and samples that are not
// finite.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <ostream>
#include <string>

namespace
{

struct StereoAddon
{
    const char* id;
    bool readsARate;
    bool keepsMono;      // the halo gives a mono input a side by design
    AddonSetting active; // a setting under which a stereo signal changes
};

const StereoAddon kStereoAddons[] = {
    {"stereo_widener", true, true, {{"amount", 1.0}}},
    {"mono_maker", true, true, {{"amount", 1.0}}},
    {"center_lock", true, true, {{"amount", 1.0}}},
    {"width_limiter", true, true, {{"amount", 1.0}}},
    {"low_high_band_stereo_shaper", true, true, {}},
    {"stereo_band_rebalance", true, true, {{"bass_to_mono", 1.0}, {"mid_bias", 0.5}}},
    {"stereo_swapper", false, true, {}},
    {"ambient_widener", true, true, {{"amount", 1.0}}},
    {"center_halo", true, false, {{"amount", 1.0}}},
    {"tape_motion", true, true, {{"amount", 1.0}}},
};

class StereoAddonInput : public ::testing::TestWithParam<StereoAddon>
{
protected:
    AudioBuffer Processed(const AudioBuffer& input) const
    {
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam().id);
        EXPECT_NE(addon, nullptr) << GetParam().id;
        return addon != nullptr ? ProcessedBy(*addon, input, GetParam().active) : input;
    }
};

void PrintTo(const StereoAddon& addon, std::ostream* out)
{
    *out << addon.id;
}

AudioBuffer WideSignal()
{
    return StereoNoise(48000, 0.5, 0.8, 17);
}

} // namespace

TEST_P(StereoAddonInput, MonoInputComesBackUnchangedToRounding)
{
    const AudioBuffer mono = StereoSine(1500.0, 48000, 0.5, 0.8);
    const AudioBuffer output = Processed(mono);
    if (GetParam().keepsMono)
    {
        EXPECT_LT(LargestDifference(output.samples, mono.samples), 1e-12);
    }
    else
    {
        EXPECT_GT(LargestDifference(output.samples, mono.samples), 1e-3) << "no halo";
    }
}

// A rate of 0 or less would give poles on or outside the unit circle; the
// buffer comes back untouched instead.
TEST_P(StereoAddonInput, RateOfZeroOrLessLeavesTheBufferUntouched)
{
    if (!GetParam().readsARate)
    {
        GTEST_SKIP() << GetParam().id << " reads no rate";
    }
    for (int rate : {0, -48000})
    {
        AudioBuffer input = WideSignal();
        input.sampleRate = rate;
        EXPECT_TRUE(Processed(input).samples == input.samples) << "rate " << rate;
    }
    EXPECT_FALSE(Processed(WideSignal()).samples == WideSignal().samples)
        << "the same signal at a real rate must be processed";
}

// A value that is not finite changes nothing before it, and the call ends with
// every value in place.
TEST_P(StereoAddonInput, NonFiniteSamplesChangeNothingBeforeThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer clean = WideSignal();
    const AudioBuffer cleanOutput = Processed(clean);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = clean;
        const size_t badIndex = input.samples.size() / 2 + 1;
        input.samples[badIndex] = bad;
        const AudioBuffer output = Processed(input);
        ASSERT_EQ(output.samples.size(), input.samples.size()) << bad;
        for (size_t i = 0; i + 1 < badIndex; ++i)
        {
            ASSERT_EQ(output.samples[i], cleanOutput.samples[i]) << bad << " at value " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stereo, StereoAddonInput, ::testing::ValuesIn(kStereoAddons),
                         [](const ::testing::TestParamInfo<StereoAddon>& info)
                         { return std::string(info.param.id); });
