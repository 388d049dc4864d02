#pragma once

// How the stepped controls (stepped knobs, segment switch, menu bar) turn a
// normalised value into one of `count` steps and back: the value spreads the
// steps evenly over 0..1, so step i of n stands at i / (n - 1).

// The most steps a stepped control shows or walks through; a layout asking for
// billions cannot make a paint or a hit test run for ever.
constexpr int kMaxSteps = 32;

// lround((count - 1) x value), halves away from zero, the value held to 0..1;
// 0 when there are fewer than two steps. A NaN is the caller's to refuse.
int StepIndexOf(double value, int count);

// index / (count - 1); 0 for fewer than two steps or a negative index.
double StepValueOf(int index, int count);
