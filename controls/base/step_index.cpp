#include "controls/base/step_index.h"

#include <algorithm>
#include <cmath>

int StepIndexOf(double value, int count)
{
    const int last = count < 2 ? 0 : count - 1;
    return static_cast<int>(std::lround(last * std::clamp(value, 0.0, 1.0)));
}

double StepValueOf(int index, int count)
{
    return count > 1 && index >= 0 ? double(index) / (count - 1) : 0.0;
}
