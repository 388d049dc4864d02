#include "addons/kit/hann_window.h"

#include <cmath>

void FillHannWindow(std::vector<double>& window, std::size_t length)
{
    const double pi = std::acos(-1.0);
    window.resize(length);
    for (std::size_t n = 0; n < length; ++n)
    {
        window[n] =
            0.5 * (1.0 - std::cos(2.0 * pi * static_cast<double>(n) / static_cast<double>(length)));
    }
}

void MakeHannWindow4096(std::vector<double>& window)
{
    FillHannWindow(window, 4096);
}
