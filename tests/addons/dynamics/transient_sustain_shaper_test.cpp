#include "addons/dynamics/transient_sustain_shaper.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 48000;
constexpr double kSilence = 0.2;

// The hit's RMS level from 100 to 400 ms against its first 5 ms.
double TailOverAttack(const AudioBuffer& hit)
{
    const size_t onset = FramesIn(kSilence, kRate);
    return RmsBetween(hit, onset + FramesIn(0.1, kRate), onset + FramesIn(0.4, kRate)) /
           PeakBetween(hit, onset, onset + FramesIn(0.005, kRate));
}

} // namespace

TEST(TransientSustainShaper, SustainRaisesOrShortensTheTailOfADrumHit)
{
    const AudioBuffer hit = DecayingNoiseHit(kRate, kSilence, 0.6, 0.7, 80.0, 12);
    const double before = TailOverAttack(hit);
    const auto shaped = [&](double sustain, double bodyMs)
    {
        return TailOverAttack(ProcessedBy<TransientSustainShaper>(
            hit, {{"amount", 1.0}, {"sustain", sustain}, {"body_ms", bodyMs}}));
    };
    for (double bodyMs : {40.0, 140.0, 300.0})
    {
        EXPECT_GT(shaped(1.0, bodyMs), 1.2 * before) << "sustain +1, body " << bodyMs << " ms";
        EXPECT_LT(shaped(-1.0, bodyMs), 0.85 * before) << "sustain -1, body " << bodyMs << " ms";
    }
}
