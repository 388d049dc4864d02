#pragma once

#include "addons/kit/clamp_range.h"
#include "addons/kit/gain_mix.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"

#include <cstddef>
#include <vector>

// The attack and release times, in milliseconds, of the two peak followers a
// transient add-on compares.
struct TransientFollowerTimes
{
    double fastAttackMs;
    double fastReleaseMs;
    double slowAttackMs;
    double slowReleaseMs;
};

// What a transient add-on hands the shared loop besides its gain law.
struct TransientShaping
{
    TransientFollowerTimes times;
    double lowestGain;
    double highestGain;
    double mix; // wet share, 0..1
};

// The frame loop the transient shapers share. Each frame's stereo peak level
// drives a fast and then a slow follower (both starting from 0); the add-on's
// gain law turns the two into a gain, which is held to the add-on's limits and
// applied to both channels through the gain mix. Only the coefficients cost an
// exp, once per call; the rest is arithmetic. The whole frames of the
// interleaved values are processed; a trailing odd value is not touched.
//
//     ShapeTransients(samples, fs, shaping,
//                     [&](double fast, double slow) { return 1.0 + k * (fast - slow); });
template <class GainLaw>
void ShapeTransients(std::vector<double>& x, double sampleRate, const TransientShaping& shaping,
                     GainLaw gainOf)
{
    const TransientFollowerTimes& times = shaping.times;
    const double fastAttack = TimeCoefficient(times.fastAttackMs, sampleRate);
    const double fastRelease = TimeCoefficient(times.fastReleaseMs, sampleRate);
    const double slowAttack = TimeCoefficient(times.slowAttackMs, sampleRate);
    const double slowRelease = TimeCoefficient(times.slowReleaseMs, sampleRate);
    double fast = 0.0;
    double slow = 0.0;
    for (std::size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double peak = StereoPeakLevel(x[i], x[i + 1]);
        FollowLevel(fast, peak, fastAttack, fastRelease);
        FollowLevel(slow, peak, slowAttack, slowRelease);
        const double gain =
            ClampToRange(gainOf(fast, slow), shaping.lowestGain, shaping.highestGain);
        GainMixFrame(x[i], x[i + 1], gain, shaping.mix);
    }
}
