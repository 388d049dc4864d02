#pragma once

#include "addons/kit/clamp_range.h"

#include <algorithm>

// How far a fast level follower stands above or below a slow one, relative to
// the slow level: positive while the fast one leads (an attack), negative while
// it has fallen under the slow one (a decay), within -1..1. The offset keeps
// quiet passages from reading as transients: a follower difference counts only
// against a level of at least `offset`. A follower that holds something other
// than a number reads -1, so a bad sample cannot carry its NaN into a gain.
inline double TransientIndex(double fast, double slow, double offset)
{
    return ClampToRange((fast - slow) / std::max(slow + offset, 1e-6), -1.0, 1.0);
}
