#include "addons/kit/gain_mix.h"

#include <gtest/gtest.h>

TEST(GainMix, MixesTheGainedValueWithTheDryOne)
{
    struct Case
    {
        double dry;
        double gain;
        double mix;
        double expected;
    };
    const Case cases[] = {
        {0.8, 0.5, 1.0, 0.4}, {0.8, 0.5, 0.5, 0.6}, {-0.8, 2.0, 0.25, -1.0}, {0.3, 7.0, 0.0, 0.3}};
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(GainMix(c.dry, c.gain, c.mix), c.expected)
            << c.dry << " x " << c.gain << " at mix " << c.mix;
    }
}

TEST(GainMix, MixOfZeroGivesTheDryValueExactly)
{
    for (double dry : {0.1, -0.7, 1e-300, 1.9})
    {
        EXPECT_EQ(GainMix(dry, 3.981, 0.0), dry);
    }
}

TEST(GainMix, FrameSharesOneGainAcrossBothChannels)
{
    double left = 0.8;
    double right = -0.4;
    GainMixFrame(left, right, 0.5, 0.5);
    EXPECT_DOUBLE_EQ(left, 0.6);
    EXPECT_DOUBLE_EQ(right, -0.3);
}
