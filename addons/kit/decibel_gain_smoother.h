#pragma once

// Which way a gain in dB moves with the attack coefficient of a smoother.
enum class GainAttack
{
    Falling, // a downward expander closes fast and opens slowly
    Rising,  // an upward expander lifts fast and lets go slowly
};

// Moves a gain in dB one frame towards its target, the way the level follower
// moves towards its input: with the attack coefficient while the gain goes the
// smoother's attack way, with the release coefficient otherwise. The state
// starts at 0 dB. Each step is a weighted mean of the target and the state, so
// the gain never passes the targets it is given. Returns the new state.
inline double SmoothGainDb(double& gainDb, double targetDb, double attack, double release,
                           GainAttack attackWhen)
{
    const bool attacking =
        attackWhen == GainAttack::Falling ? gainDb > targetDb : targetDb > gainDb;
    const double coefficient = attacking ? attack : release;
    gainDb = (1.0 - coefficient) * targetDb + coefficient * gainDb;
    return gainDb;
}
