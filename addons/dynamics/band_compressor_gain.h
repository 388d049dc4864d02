#pragma once

#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"

// The gain of one band of the multiband compressor. The band's amount sets
// threshold and ratio together: -12 dB at 1:1 for amount 0, down to -18 dB at
// 4:1 for amount 1, with a hard knee. `follower` is the band's amplitude
// follower, updated with the band level first. A band at amount 0, or one
// whose followed level stays under its threshold, gets exactly 1.
inline double BandCompressorGain(double& follower, double bandLevel, double amount, double attack,
                                 double release)
{
    FollowLevel(follower, bandLevel, attack, release);
    const double thresholdDb = (1.0 - amount) * 6.0 - 18.0;
    const double ratio = 1.0 + 3.0 * amount;
    const double noMakeup = 1.0;
    return MadeUpGain(HardKneeGainDb(DecibelLevel(follower) - thresholdDb, ratio), noMakeup);
}
