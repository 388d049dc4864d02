#pragma once

// The spectral frame's pass as written out step by step, the yardstick of the
// frame and of the passes built on it: every frame from H - N on transformed
// on its own, mirrored, transformed back, and added into whole-track output
// and window-power sums that are divided at the end.

#include "addons/kit/hann_window.h"
#include "addons/kit/spectral_frame.h"
#include "engine/dsp/fft.h"

#include <complex>
#include <cstddef>
#include <vector>

inline std::vector<double> PlainOverlapAdd(const std::vector<double>& x, std::size_t n,
                                           const MonoFrameRule& rule)
{
    std::vector<double> window;
    FillHannWindow(window, n);
    const long count = static_cast<long>(x.size());
    const long hop = static_cast<long>(n / 4);
    std::vector<double> output(x.size(), 0.0);
    std::vector<double> power(x.size(), 0.0);
    FrameSpectrum spectrum(n);
    for (long s = hop - static_cast<long>(n); s < count; s += hop)
    {
        for (std::size_t j = 0; j < n; ++j)
        {
            const long i = s + static_cast<long>(j);
            spectrum[j] = {i >= 0 && i < count ? x[static_cast<std::size_t>(i)] * window[j] : 0.0,
                           0.0};
        }
        Fft(spectrum, false);
        rule(spectrum);
        for (std::size_t k = 1; k < n / 2; ++k)
        {
            spectrum[n - k] = std::conj(spectrum[k]);
        }
        Fft(spectrum, true);
        for (std::size_t j = 0; j < n; ++j)
        {
            const long i = s + static_cast<long>(j);
            if (i >= 0 && i < count)
            {
                output[static_cast<std::size_t>(i)] += spectrum[j].real() * window[j];
                power[static_cast<std::size_t>(i)] += window[j] * window[j];
            }
        }
    }
    for (std::size_t i = 0; i < output.size(); ++i)
    {
        if (power[i] > 1e-8)
        {
            output[i] /= power[i];
        }
    }
    return output;
}
