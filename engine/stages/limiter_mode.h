#pragma once

// The limiter that ends a run, as MatchSettings::limiterMode stores it and the
// catalogue's "Limiter Mode" choices list it. A stored value outside these
// counts as standard.
enum LimiterMode : int
{
    LimiterStandard = 0,          // sample peaks (StandardLimit)
    LimiterTruePeak = 1,          // sample peaks limited oversampled, then trimmed (TruePeakLimit)
    LimiterLookaheadTruePeak = 2, // the look-ahead limiter on an oversampled copy (LookaheadLimit)
};
