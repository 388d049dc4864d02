#include "engine/dsp/one_pole_low_pass.h"

#include <cmath>
#include <numbers>

double OnePoleCoefficient(double cutoffHz, double sampleRateHz)
{
    if (!(sampleRateHz > 0.0))
    {
        return 0.0;
    }
    return std::exp(-2.0 * std::numbers::pi * cutoffHz / sampleRateHz);
}

std::vector<double> OnePoleLowPass(std::span<const double> signal, double coefficient)
{
    std::vector<double> low(signal.size());
    double state = 0.0;
    for (size_t i = 0; i < signal.size(); ++i)
    {
        low[i] = OnePoleLowPassStep(state, signal[i], coefficient);
    }
    return low;
}
