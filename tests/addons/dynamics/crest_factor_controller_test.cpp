#include "addons/dynamics/crest_factor_controller.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 48000;
constexpr double kSilence = 0.2;

double CrestFactorOfTheHit(const AudioBuffer& hit)
{
    const size_t onset = FramesIn(kSilence, kRate);
    const size_t end = hit.samples.size() / 2;
    return CrestFactorBetween(hit, onset, end);
}

} // namespace

// Towards punch the attack of a hit is lifted and its decay lowered, so its
// peak stands further above its RMS level; towards density the reverse.
TEST(CrestFactorController, SteersTheCrestFactorOfADrumHitBothWays)
{
    const AudioBuffer hit = DecayingNoiseHit(kRate, kSilence, 0.6, 0.7, 80.0, 3);
    const double before = CrestFactorOfTheHit(hit);
    const double punch =
        CrestFactorOfTheHit(ProcessedBy<CrestFactorController>(hit, {{"amount", 1.0}}));
    const double density =
        CrestFactorOfTheHit(ProcessedBy<CrestFactorController>(hit, {{"amount", -1.0}}));
    EXPECT_GT(punch, 1.2 * before);
    EXPECT_LT(density, 0.85 * before);
    const double halfway =
        CrestFactorOfTheHit(ProcessedBy<CrestFactorController>(hit, {{"amount", 0.5}}));
    EXPECT_GT(halfway, before);
    EXPECT_LT(halfway, punch);
}

// Below 1e-6 either way the amount counts as none.
TEST(CrestFactorController, AnAmountUnderOneMillionthChangesNothing)
{
    const AudioBuffer hit = DecayingNoiseHit(kRate, kSilence, 0.3, 0.7, 80.0, 4);
    for (double amount : {9e-7, -9e-7})
    {
        EXPECT_TRUE(ProcessedBy<CrestFactorController>(hit, {{"amount", amount}}).samples ==
                    hit.samples)
            << amount;
    }
    EXPECT_FALSE(ProcessedBy<CrestFactorController>(hit, {{"amount", 1e-6}}).samples ==
                 hit.samples);
}
