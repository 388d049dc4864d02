// What the three decorrelation and motion add-ons share: they move only the
// side, so the mid comes through to rounding.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <memory>

TEST(DecorrelationAndMotion, KeepTheMid)
{
    const AudioBuffer input = StereoNoise(48000, 0.5, 0.8, 21);
    const std::vector<double> mid = MidOf(input);
    for (const char* id : {"ambient_widener", "center_halo", "tape_motion"})
    {
        for (double mix : {1.0, 0.6})
        {
            const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
            ASSERT_NE(addon, nullptr) << id;
            const AudioBuffer output = ProcessedBy(*addon, input, {{"amount", 1.0}, {"mix", mix}});
            EXPECT_FALSE(output.samples == input.samples) << id << " changed nothing";
            EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12) << id << ", mix " << mix;
        }
    }
}
