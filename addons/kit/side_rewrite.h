#pragma once

#include "addons/kit/mid_side.h"
#include "addons/kit/wet_dry_mix.h"

#include <span>

// Rebuilds every whole frame of interleaved stereo values from its mid and a
// new side, S' = newSide(mid, side), as L = M + S', R = M - S', and mixes that
// with the frame as it came in (the mix already limited to 0..1). Frames are
// visited in order, once each; a trailing odd value is not touched.
template <class NewSide>
void RewriteSide(std::span<double> interleaved, double mix, NewSide&& newSide)
{
    for (size_t i = 0; i + 1 < interleaved.size(); i += 2)
    {
        const double left = interleaved[i];
        const double right = interleaved[i + 1];
        const double mid = MidOf(left, right);
        const double side = newSide(mid, SideOf(left, right));
        interleaved[i] = MixWetDry(mid + side, left, mix);
        interleaved[i + 1] = MixWetDry(mid - side, right, mix);
    }
}
