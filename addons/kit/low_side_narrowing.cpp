#include "addons/kit/low_side_narrowing.h"

#include "addons/kit/mid_side.h"
#include "engine/dsp/one_pole_low_pass.h"

void NarrowLowSide(std::span<double> interleaved, double& sideLow, double coefficient,
                   double amount)
{
    for (size_t i = 0; i + 1 < interleaved.size(); i += 2)
    {
        const double mid = MidOf(interleaved[i], interleaved[i + 1]);
        const double side = SideOf(interleaved[i], interleaved[i + 1]);
        const double newSide = side - amount * OnePoleLowPassStep(sideLow, side, coefficient);
        interleaved[i] = mid + newSide;
        interleaved[i + 1] = mid - newSide;
    }
}
