#pragma once

#include <cstddef>
#include <vector>

// The periodic Hann window w[n] = 0.5 (1 - cos(2 pi n / N)), n = 0 .. N - 1, the
// window of the spectral frame for analysis and again for synthesis. Periodic,
// not symmetric: the squares of four copies a quarter of N apart sum to the
// same 1.5 at every sample, which is what lets the frame give a track back
// unchanged.
void FillHannWindow(std::vector<double>& window, std::size_t length);

// The window at the frame length every spectral add-on but the declipper uses.
void MakeHannWindow4096(std::vector<double>& window);
