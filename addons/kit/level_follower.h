#pragma once

#include "engine/decibels.h"

// The envelope follower of the dynamics add-ons: a one-pole smoother whose
// coefficient depends on the direction, the attack coefficient while the input
// rises above the state and the release coefficient otherwise. The state starts
// at 0 and runs in the domain of its input (amplitude or power). Returns the new
// state.
inline double FollowLevel(double& state, double input, double attack, double release)
{
    const double coefficient = input > state ? attack : release;
    state = (1.0 - coefficient) * input + coefficient * state;
    return state;
}

// A follower state of 0 reads this level instead of -infinity: -240 dB in
// amplitude (-120 dB once a power is turned back into an amplitude).
inline constexpr double kFollowerFloor = 1e-12;

// The level of an amplitude follower's state in dB.
inline double DecibelLevel(double state)
{
    return GainToDb(state, kFollowerFloor);
}
