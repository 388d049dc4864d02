#include "addons/dynamics/micro_dynamics_restorer.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

// Attacks lifted and decays lowered: the hit's peak rises against its body.
TEST(MicroDynamicsRestorer, RaisesTheCrestFactorOfADrumHit)
{
    const int rate = 48000;
    const AudioBuffer hit = DecayingNoiseHit(rate, 0.2, 0.6, 0.7, 80.0, 5);
    const size_t onset = FramesIn(0.2, rate);
    const size_t end = hit.samples.size() / 2;
    const auto crest = [&](const AudioBuffer& b) { return CrestFactorBetween(b, onset, end); };
    const double before = crest(hit);
    for (double amount : {0.25, 0.5, 1.0})
    {
        EXPECT_GT(crest(ProcessedBy<MicroDynamicsRestorer>(hit, {{"amount", amount}})),
                  1.05 * before)
            << amount;
    }
}

// No early return on the mix: at mix 0 every value is written back as it came.
TEST(MicroDynamicsRestorer, MixOfZeroWritesTheInputBack)
{
    const AudioBuffer hit = DecayingNoiseHit(44100, 0.1, 0.3, 0.9, 40.0, 6);
    EXPECT_TRUE(ProcessedBy<MicroDynamicsRestorer>(hit, {{"amount", 1.0}, {"mix", 0.0}}).samples ==
                hit.samples);
}
