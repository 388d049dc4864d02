#pragma once

#include <vector>

// Smooths a curve sampled at one value per plotted column, so a spectrum
// drawn across a narrow plot does not jitter: a triangular window of nine
// columns (weights 1 to 5 to 1), cut and renormalised at the ends. Fewer than
// three values come back as they are.
std::vector<double> SmoothCurveTriangular(const std::vector<double>& in);
