#include "addons/eq/center_focus.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 48000;

} // namespace

// At the target the mid gets exactly +4 dB times the amount and the side
// -1.5 dB times the amount.
TEST(CenterFocus, LiftsTheMidAndLowersTheSideAtTheTarget)
{
    for (double target : {1000.0, 2500.0, 5000.0})
    {
        for (double amount : {1.0, 0.5})
        {
            for (bool side : {false, true})
            {
                const AudioBuffer input = MidOrSideSine(target, kRate, 1.0, 0.5, side);
                const AudioBuffer output =
                    ProcessedBy<CenterFocus>(input, {{"amount", amount}, {"target_hz", target}});
                EXPECT_NEAR(ToneGainDb(input, output, target, kRate / 2),
                            (side ? -1.5 : 4.0) * amount, 0.05)
                    << (side ? "side" : "mid") << " at " << target << " Hz, amount " << amount;
            }
        }
    }
}

TEST(CenterFocus, MonoStaysMonoAndGetsTheMidLift)
{
    const AudioBuffer input = MidOrSideSine(2500.0, kRate, 1.0, 0.5, false);
    const AudioBuffer output = ProcessedBy<CenterFocus>(input, {{"amount", 1.0}});
    for (size_t i = 0; i < output.samples.size(); i += 2)
    {
        ASSERT_EQ(output.samples[i], output.samples[i + 1]) << "frame " << i / 2;
    }
    EXPECT_NEAR(ToneGainDb(input, output, 2500.0, kRate / 2), 4.0, 0.05);
}
