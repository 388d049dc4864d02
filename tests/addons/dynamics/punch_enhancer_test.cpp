#include "addons/dynamics/punch_enhancer.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 48000;
constexpr double kSilence = 0.2;

// The first 5 ms of the hit against its RMS level from 100 to 300 ms.
double AttackOverTail(const AudioBuffer& hit)
{
    const size_t onset = FramesIn(kSilence, kRate);
    return PeakBetween(hit, onset, onset + FramesIn(0.005, kRate)) /
           RmsBetween(hit, onset + FramesIn(0.1, kRate), onset + FramesIn(0.3, kRate));
}

} // namespace

TEST(PunchEnhancer, RaisesTheAttackOfADrumHitAgainstItsTail)
{
    const AudioBuffer hit = DecayingNoiseHit(kRate, kSilence, 0.6, 0.7, 80.0, 8);
    const double before = AttackOverTail(hit);
    EXPECT_GT(AttackOverTail(ProcessedBy<PunchEnhancer>(hit)), 1.1 * before) << "defaults";
    EXPECT_GT(AttackOverTail(ProcessedBy<PunchEnhancer>(hit, {{"amount", 1.0}, {"attack", 1.0}})),
              1.3 * before);
}

// The body term alone follows slow over fast level: under 1 while a hit
// rises, over 1 once it has passed, so it lifts the tail against the attack.
TEST(PunchEnhancer, TheBodyTermAloneLiftsTheTail)
{
    const AudioBuffer hit = DecayingNoiseHit(kRate, kSilence, 0.6, 0.7, 80.0, 9);
    const AudioBuffer output =
        ProcessedBy<PunchEnhancer>(hit, {{"amount", 1.0}, {"attack", 0.0}, {"body", 1.0}});
    EXPECT_LT(AttackOverTail(output), AttackOverTail(hit));
}
