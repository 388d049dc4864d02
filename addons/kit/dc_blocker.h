#pragma once

// The first-order DC blocker y = x - x1 + R * y1: a zero at 0 Hz and a pole at
// R just inside it, so a constant input dies away as R^n while the response is
// flat from about (1 - R) * fs / (2 pi) upwards. x1 and y1 are the previous
// input and output of one channel, 0 before its first value; the pole R
// (below 1) is the caller's, usually set from the rate.
inline double DcBlockStep(double& previousInput, double& previousOutput, double input, double pole)
{
    const double output = input - previousInput + pole * previousOutput;
    previousInput = input;
    previousOutput = output;
    return output;
}
