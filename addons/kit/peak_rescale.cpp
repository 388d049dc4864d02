#include "addons/kit/peak_rescale.h"

#include "engine/stages/limiter_input.h"

#include <cmath>

bool RescaleToInputPeak(std::vector<double>& values, double inputPeak, double threshold)
{
    if (!(inputPeak > threshold))
    {
        return false;
    }
    const double outputPeak = LargestMagnitude(values);
    if (!(outputPeak > inputPeak))
    {
        return false;
    }
    // The quotient may round up; one step down keeps the loudest value on or
    // under the input peak, and every other value with it.
    double scale = inputPeak / outputPeak;
    if (outputPeak * scale > inputPeak)
    {
        scale = std::nextafter(scale, 0.0);
    }
    for (double& value : values)
    {
        value *= scale;
    }
    return true;
}
