#include "addons/stereo/stereo_swapper.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

TEST(StereoSwapper, SwapsTheChannelsAndTwiceGivesTheInputBack)
{
    const AudioBuffer input = StereoNoise(48000, 0.1, 0.8, 7);
    const AudioBuffer once = ProcessedBy<StereoSwapper>(input);
    for (size_t i = 0; i < input.samples.size(); i += 2)
    {
        ASSERT_EQ(once.samples[i], input.samples[i + 1]);
        ASSERT_EQ(once.samples[i + 1], input.samples[i]);
    }
    EXPECT_TRUE(ProcessedBy<StereoSwapper>(once).samples == input.samples);
}

TEST(StereoSwapper, ReadsNoRate)
{
    AudioBuffer input = StereoNoise(48000, 0.01, 0.8, 7);
    input.sampleRate = 0;
    EXPECT_FALSE(ProcessedBy<StereoSwapper>(input).samples == input.samples);
}

TEST(StereoSwapper, ToggleBelowHalfStoresOff)
{
    const AudioBuffer input = StereoNoise(48000, 0.01, 0.8, 7);
    StereoSwapper swapper;
    EXPECT_TRUE(ProcessedBy(swapper, input, {{"swap_channels", 0.4}}).samples == input.samples);
}
