#pragma once

#include <cstddef>
#include <vector>

// A delay of a whole number of frames whose output before the first input has
// come through is that first input, held, not silence: frame i gives x[i - d]
// for i >= d and x[0] before. Fed one value per frame.
class HeldStartDelay
{
public:
    // A delay of at least one frame. A delay longer than the signal only ever
    // gives the first value, so the caller may cap it at the signal's length.
    explicit HeldStartDelay(std::size_t delayFrames);

    // A delay of `ms` as whole frames, halves rounded away from zero, at least
    // one frame and at most the signal's `frameCount`.
    static std::size_t Frames(double ms, double sampleRateHz, std::size_t frameCount);

    // Takes the next value and gives the delayed one.
    double Step(double input);

private:
    std::vector<double> m_line;
    std::size_t m_position = 0;
    bool m_started = false;
};
