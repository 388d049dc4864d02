#include "addons/eq/ms_color_eq.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 48000;

} // namespace

// Well above the pivot the mid rises towards +1.5 dB and the side falls
// towards -1 dB at amount 1; well below, the other way round.
TEST(MSColorEQ, TiltsTheMidBrighterAndTheSideDarker)
{
    struct Case
    {
        bool side;
        double toneHz;
        double expectedDb;
    };
    const Case cases[] = {
        {false, 15000.0, 1.5}, {true, 15000.0, -1.0}, {false, 60.0, -1.5}, {true, 60.0, 1.0}};
    for (const Case& c : cases)
    {
        const AudioBuffer input = MidOrSideSine(c.toneHz, kRate, 1.0, 0.5, c.side);
        const AudioBuffer output =
            ProcessedBy<MSColorEQ>(input, {{"amount", 1.0}, {"pivot_hz", 600.0}});
        EXPECT_NEAR(ToneGainDb(input, output, c.toneHz, kRate / 2), c.expectedDb, 0.25)
            << (c.side ? "side" : "mid") << " at " << c.toneHz << " Hz";
    }
}

TEST(MSColorEQ, MonoStaysMono)
{
    const AudioBuffer input = StereoNoise(kRate, 0.5, 0.8, 5);
    AudioBuffer mono = input;
    for (size_t i = 0; i < mono.samples.size(); i += 2)
    {
        mono.samples[i + 1] = mono.samples[i];
    }
    const AudioBuffer output = ProcessedBy<MSColorEQ>(mono, {{"amount", 1.0}});
    for (size_t i = 0; i < output.samples.size(); i += 2)
    {
        ASSERT_EQ(output.samples[i], output.samples[i + 1]) << "frame " << i / 2;
    }
    EXPECT_FALSE(output.samples == mono.samples);
}
