#pragma once

#include <span>

// out = wet * mix + dry * (1 - mix) for a mix already limited to 0..1; dry is
// the value as it entered process.
inline double MixWetDry(double wet, double dry, double mix)
{
    return wet * mix + dry * (1.0 - mix);
}

// Mixes a whole processed signal with its input, in place, over the values both
// hold. The mix is limited to 0..1 here.
void MixWetDry(std::span<double> wetToOut, std::span<const double> dry, double mix);
