#include "addons/kit/wet_dry_mix.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WetDryMix, EndpointsGiveExactlyWetOrDry)
{
    const std::vector<double> wet{0.3, -0.7, 1e-300, 2.5};
    const std::vector<double> dry{-0.1, 0.9, -4.0, 0.0};

    std::vector<double> allWet = wet;
    MixWetDry(allWet, dry, 1.0);
    EXPECT_EQ(allWet, wet) << "a mix of 1 must give the processed signal unchanged";

    std::vector<double> allDry = wet;
    MixWetDry(allDry, dry, 0.0);
    EXPECT_EQ(allDry, dry) << "a mix of 0 must give the input unchanged";
}

TEST(WetDryMix, MixIsLinearAndLimitedToZeroToOne)
{
    struct Case
    {
        double mix;
        double expected;
    };
    const Case cases[] = {{0.5, 0.25}, {0.25, -0.125}, {1.7, 1.0}, {-3.0, -0.5}};
    for (const Case& c : cases)
    {
        std::vector<double> out{1.0};
        MixWetDry(out, std::vector<double>{-0.5}, c.mix);
        EXPECT_DOUBLE_EQ(out[0], c.expected) << "mix " << c.mix;
    }
}

TEST(WetDryMix, MixesOnlyWhatBothHold)
{
    std::vector<double> out{1.0, 1.0, 1.0};
    MixWetDry(out, std::vector<double>{0.0}, 0.5);
    EXPECT_EQ(out, (std::vector<double>{0.5, 1.0, 1.0}));
}
