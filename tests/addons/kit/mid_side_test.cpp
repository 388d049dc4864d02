#include "addons/kit/mid_side.h"

#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MidSide, SplitAndJoinReturnTheFrames)
{
    const std::vector<double> input = Noise(2000, 1.0, 7);
    const MidSideSignals signals = SplitMidSide(input);
    ASSERT_EQ(signals.mid.size(), 1000u);
    ASSERT_EQ(signals.side.size(), 1000u);

    std::vector<double> output(input.size(), 0.0);
    JoinMidSide(signals.mid, signals.side, output);
    for (size_t i = 0; i < input.size(); ++i)
    {
        EXPECT_NEAR(output[i], input[i], 1e-15) << "value " << i << " lost in the round trip";
    }
}

TEST(MidSide, MonoHasNoSideAndAntiphaseNoMid)
{
    const MidSideSignals mono = SplitMidSide(std::vector<double>{0.5, 0.5, -0.25, -0.25});
    EXPECT_EQ(mono.mid, (std::vector<double>{0.5, -0.25}));
    EXPECT_EQ(mono.side, (std::vector<double>{0.0, 0.0}));

    const MidSideSignals antiphase = SplitMidSide(std::vector<double>{0.5, -0.5});
    EXPECT_EQ(antiphase.mid, std::vector<double>{0.0});
    EXPECT_EQ(antiphase.side, std::vector<double>{0.5});
}

TEST(MidSide, TrailingOddValueBelongsToNoFrame)
{
    const MidSideSignals signals = SplitMidSide(std::vector<double>{1.0, 0.0, 0.75});
    EXPECT_EQ(signals.mid, std::vector<double>{0.5});

    std::vector<double> buffer{9.0, 9.0, 9.0};
    JoinMidSide(signals.mid, signals.side, buffer);
    EXPECT_EQ(buffer, (std::vector<double>{1.0, 0.0, 9.0}));
}

TEST(MidSide, JoinWritesOnlyWhatAllThreeHold)
{
    std::vector<double> buffer{9.0, 9.0, 9.0, 9.0};
    JoinMidSide(std::vector<double>{0.5, 0.5, 0.5}, std::vector<double>{0.25}, buffer);
    EXPECT_EQ(buffer, (std::vector<double>{0.75, 0.25, 9.0, 9.0}));
}
