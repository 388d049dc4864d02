#include "addons/dynamics/transient_shaper.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

// Attack +1 lifts the hit's attack and lowers its decay, so its crest factor
// rises; sustain +1 does the reverse, and so does attack -1.
TEST(TransientShaper, AttackAndSustainMoveTheCrestFactorOfADrumHitApart)
{
    const int rate = 48000;
    const AudioBuffer hit = DecayingNoiseHit(rate, 0.2, 0.6, 0.7, 80.0, 10);
    const size_t onset = FramesIn(0.2, rate);
    const size_t end = hit.samples.size() / 2;
    const auto crest = [&](const AudioBuffer& b) { return CrestFactorBetween(b, onset, end); };
    const auto shaped = [&](double attack, double sustain)
    {
        return crest(ProcessedBy<TransientShaper>(
            hit, {{"amount", 1.0}, {"attack", attack}, {"sustain", sustain}}));
    };
    const double before = crest(hit);
    EXPECT_GT(shaped(1.0, 0.0), 1.2 * before) << "attack +1";
    EXPECT_LT(shaped(0.0, 1.0), 0.9 * before) << "sustain +1";
    EXPECT_LT(shaped(-1.0, 0.0), 0.9 * before) << "attack -1";
    EXPECT_NEAR(shaped(0.0, 0.0), before, 1e-12) << "neither";
}

// The sustain term is the attack term's mirror image: equal settings cancel
// to the last bit.
TEST(TransientShaper, EqualAttackAndSustainCancel)
{
    const AudioBuffer hit = DecayingNoiseHit(44100, 0.1, 0.4, 0.9, 50.0, 11);
    const double scale = 1.6 / 1.1;
    const AudioBuffer output = ProcessedBy<TransientShaper>(
        hit, {{"amount", 1.0}, {"attack", 0.5}, {"sustain", 0.5 * scale}});
    ExpectValuesFrom(
        hit, output, 0, [](double x) { return x; }, 1e-15);
}
